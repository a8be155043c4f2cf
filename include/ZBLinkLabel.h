#ifndef ZBLINKLABEL_H
#define ZBLINKLABEL_H

#include "zebguicore_export.h"

#include <QPushButton>
#include <QVariant>
#include <memory>

class ZBLinkLabelPrivate;

/*!
    A push button used as a text link. It draws its own text (set with SetText(), separate from
    QAbstractButton::text()) on one line, elided at the right to its width, sizes itself to that
    text, shows a pointing-hand cursor while enabled and keeps application data by role. Clicks
    are reported by the usual QAbstractButton signals.
*/
class ZEBGUICORE_EXPORT ZBLinkLabel : public QPushButton
{
    Q_OBJECT

public:
    /*! Builds a link label without text, a child of \a parent (which may be null). */
    explicit ZBLinkLabel(QWidget* parent = nullptr);
    ~ZBLinkLabel() override;

    /*! The label's text, empty after construction. */
    QString GetText() const;
    /*!
        Shows \a text and emits TextChanged() and TextChanged(text); nothing happens when \a text is
        the current text.
    */
    void SetText(const QString& text);

    /*! The value stored for \a role; an invalid QVariant when none is. */
    QVariant GetData(int role = Qt::UserRole) const;
    /*!
        Stores \a value for \a role and emits DataChanged(role); nothing happens when the value is
        the one stored (an invalid value equals a role that holds nothing).
    */
    void SetData(const QVariant& value, int role = Qt::UserRole);

    /*! The text's width and the font's height, plus the contents margins. */
    QSize sizeHint() const override;

Q_SIGNALS:
    /*!
        The text changed; emitted before TextChanged(const QString&). The signal is overloaded:
        connect to this form with qOverload<>(&ZBLinkLabel::TextChanged).
    */
    void TextChanged();
    /*! The text changed to \a text. Connect with qOverload<const QString&>(&ZBLinkLabel::TextChanged). */
    void TextChanged(const QString& text);
    /*! The value stored for \a role changed. */
    void DataChanged(int role);

protected:
    /*! Draws the button with the text of SetText(), elided at the right to the contents width. */
    void paintEvent(QPaintEvent* event) override;
    /*!
        Shows the pointing-hand cursor while enabled and the arrow while disabled; a font or style
        change measures the text again.
    */
    void changeEvent(QEvent* event) override;

private:
    std::unique_ptr<ZBLinkLabelPrivate> const d;
};

#endif // ZBLINKLABEL_H
