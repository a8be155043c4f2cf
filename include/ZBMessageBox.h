#ifndef ZBMESSAGEBOX_H
#define ZBMESSAGEBOX_H

#include "ZBDialog.h"

#include <memory>

class QPixmap;
class QPushButton;
class ZBMessageBoxPrivate;

/*!
    A modal dialog with a text ("ZBMESSBOXTEXTLABEL"), an optional 48 by 48 icon
    ("ZBMESSBOXICONLABEL") and a row of push buttons at its right edge. Each button stands for a
    StandardButton; clicking it ends the box with that value as its result. The box has no Close
    button, cannot be resized with the mouse and takes the size of its content.

    The static functions Critical(), Information(), Question() and Warning() run a box with the
    matching standard image and return the button pressed, or NoButton when the box was rejected
    (Escape or a close request). The images are read once from "theme:criticalicon.png",
    "theme:infoicon.png", "theme:warningicon.png" and "theme:questionicon.png" and shared by all
    boxes; a file that cannot be read is tried again by the next box.
*/
class ZEBGUICORE_EXPORT ZBMessageBox : public ZBDialog
{
    Q_OBJECT

public:
    /*! The button kinds; a box's buttons stand left to right in ascending value order. */
    enum StandardButton : int
    {
        NoButton = 0,               //!< no button; what the static functions return for a rejected box
        Ok = 0x400,                 //!< "OK"
        Save = 0x800,               //!< "Save"
        SaveAll = 0x1000,           //!< "Save all"
        Open = 0x2000,              //!< "Open"
        Yes = 0x4000,               //!< "Yes"
        YesToAll = 0x8000,          //!< "Yes to all"
        No = 0x10000,               //!< "No"
        NoToAll = 0x20000,          //!< "No to all"
        Abort = 0x40000,            //!< "Abort"
        Retry = 0x80000,            //!< "Retry"
        Ignore = 0x100000,          //!< "Ignore"
        Close = 0x200000,           //!< "Close"
        Cancel = 0x400000,          //!< "Cancel"
        Discard = 0x800000,         //!< "Discard"
        Help = 0x1000000,           //!< "Help"
        Apply = 0x2000000,          //!< "Apply"
        Reset = 0x4000000,          //!< "Reset"
        RestoreDefaults = 0x8000000 //!< "Restore defaults"
    };
    Q_ENUM(StandardButton)
    /*! A combination of StandardButton values. */
    Q_DECLARE_FLAGS(StandardButtons, StandardButton)

    /*! The standard images. */
    enum Icon : int
    {
        CriticalIcon = 0,    //!< "theme:criticalicon.png"
        WarningIcon = 1,     //!< "theme:warningicon.png"
        InformationIcon = 2, //!< "theme:infoicon.png"
        QuestionIcon = 3     //!< "theme:questionicon.png"
    };
    Q_ENUM(Icon)

    /*! Builds an empty box; like every ZBDialog its parent is the dialogs' top-level widget. */
    explicit ZBMessageBox(QWidget* parent = nullptr, Qt::WindowFlags f = Qt::WindowFlags());
    ~ZBMessageBox() override;

    /*!
        Creates a push button with \a text for \a kind, adds it as the three-argument form does and
        returns it. Returns null and creates nothing for a value that is not a StandardButton.
    */
    QPushButton* AddButton(const QString& text, StandardButton kind);
    /*! As above, with the kind's own translated text ("OK", "Yes", ...). */
    QPushButton* AddButton(StandardButton kind);
    /*!
        Puts \a button into the button row at the place of \a kind, as a child of the box; clicking
        it ends the box with the kind's value. A button already there for that kind is removed and
        deleted later. A null button, or a value that is not a StandardButton, is ignored and the
        button left untouched.
    */
    void AddButton(QPushButton* button, StandardButton kind);
    /*! Adds a button for every kind set in \a buttons, in ascending value order; never NoButton. */
    void AddButtons(StandardButtons buttons);

    /*!
        Makes \a button the default button, pressed by Return and Enter. The former default button
        is cleared first; a button that is not in the button row leaves no default button.
    */
    void SetDefaultButton(QPushButton* button);
    /*! As above with the button of \a kind; a kind without a button leaves no default button. */
    void SetDefaultButton(StandardButton kind);

    /*! Shows \a pixmap in the icon label; a null pixmap hides the label. */
    void SetIcon(const QPixmap& pixmap);
    /*! Shows the standard image of \a icon; a value that is not an Icon changes nothing. */
    void SetIcon(Icon icon);

    /*!
        Sets the text, plain or rich as QTextEdit decides, and sizes the text view to it: as wide
        as its widest line, at most a third of the primary screen's work area, and high enough
        for its lines, at most a third of the work area's height; longer text scrolls.
    */
    void SetText(const QString& text);

    /*! Runs a box with the critical image; returns the button pressed or NoButton. */
    static StandardButton Critical(QWidget* parent, const QString& title, const QString& text,
                                   StandardButtons buttons, StandardButton defaultButton);
    /*! Runs a box with the information image; returns the button pressed or NoButton. */
    static StandardButton Information(QWidget* parent, const QString& title, const QString& text,
                                      StandardButtons buttons, StandardButton defaultButton);
    /*! Runs a box with the question image; returns the button pressed or NoButton. */
    static StandardButton Question(QWidget* parent, const QString& title, const QString& text,
                                   StandardButtons buttons, StandardButton defaultButton);
    /*! Runs a box with the warning image; returns the button pressed or NoButton. */
    static StandardButton Warning(QWidget* parent, const QString& title, const QString& text,
                                  StandardButtons buttons, StandardButton defaultButton);
    /*!
        Runs an "about" box: \a text (plain or rich), the window icon of \a parent (which is the
        application's icon unless the parent has one of its own) or of the application when
        \a parent is null, \a title in the title bar and one OK button, which is the default. The
        box is deleted when it ends. \a parent only gives the icon: like every dialog the box is a
        child of the dialogs' top-level widget.
    */
    static void About(QWidget* parent, const QString& title, const QString& text);

private:
    friend class ZBMessageBoxPrivate;
    std::unique_ptr<ZBMessageBoxPrivate> const d;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(ZBMessageBox::StandardButtons)

#endif // ZBMESSAGEBOX_H
