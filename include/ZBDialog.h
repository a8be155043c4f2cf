#ifndef ZBDIALOG_H
#define ZBDIALOG_H

#include "ZBWidget.h"

class QEventLoop;
class QSessionManager;

/*!
    A frameless modal dialog. Exec() shows it and runs its own event loop until Done(), Accept()
    or Reject() ends it; the code it ended with is Exec()'s result: 1 accepted, 0 rejected, any
    other value the application's own.

    Every dialog is a child of the application-wide top-level widget set with SetTopLevelWidget();
    the parent given to the constructor is not used. Whenever the dialog is shown it centres itself
    over that widget's window (or over the screen), unless the application has moved it. Return and
    Enter click the visible default QPushButton, Escape rejects, and a close request rejects. A
    session manager's commit request closes a dialog whose Exec() loop runs.

    Put the dialog's own widgets into Content().
*/
class ZEBGUICORE_EXPORT ZBDialog : public ZBWidget
{
    Q_OBJECT

public:
    /*! Result codes with a meaning of their own; any other value is the application's. */
    enum DialogCode : int
    {
        RefusedCode = -1, //!< returned by an Exec() called while the dialog's own loop runs
        RejectedCode = 0, //!< Reject(), Escape, a close request, or the dialog destroyed while it ran
        AcceptedCode = 1  //!< Accept()
    };
    Q_ENUM(DialogCode)

    /*!
        Builds a hidden dialog at full opacity, child of GetTopLevelWidget(); \a parent is ignored.
        \a f gains Qt::Dialog, Qt::FramelessWindowHint and Qt::CustomizeWindowHint.
    */
    explicit ZBDialog(QWidget* parent = nullptr, Qt::WindowFlags f = Qt::WindowFlags());
    /*! A dialog destroyed while its Exec() loop runs ends that loop; Exec() then returns 0. */
    ~ZBDialog() override;

    /*! Stores \a r as the result without ending the dialog or emitting anything. */
    void SetResult(int r);
    /*! The code the dialog last ended with; 0 after construction and when Exec() starts. */
    int Result() const;

    /*!
        Makes \a w the parent of every dialog constructed from now on; null makes them parentless.
        Dialogs built earlier keep their parent. \a w is not owned: when it is destroyed, with
        the dialogs that are its children, the setting reads null again.
    */
    static void SetTopLevelWidget(QWidget* w);
    /*! The widget set with SetTopLevelWidget(), or null. */
    static QWidget* GetTopLevelWidget();

Q_SIGNALS:
    /*! The dialog ended with code 1; emitted after Finished(). */
    void Accepted();
    /*! The dialog ended with code 0; emitted after Finished(). */
    void Rejected();
    /*! The dialog ended with \a result; emitted first. */
    void Finished(int result);

public Q_SLOTS:
    /*!
        Shows the dialog modal and blocks in a nested event loop until the dialog ends; returns the
        code it ended with. Qt::WA_ShowModal is set for the run and restored afterwards. A dialog
        with Qt::WA_DeleteOnClose survives until the result is read and is then deleted. Returns
        RejectedCode if the dialog is destroyed while the loop runs, and RefusedCode at once,
        leaving the running loop alone, when called while the dialog's own loop already runs.
    */
    int Exec();
    /*! Ends the dialog with AcceptedCode. */
    void Accept();
    /*! Ends the dialog with RejectedCode. */
    void Reject();
    /*!
        Ends the dialog with code \a r: hides it, leaves its Exec() loop if one runs, stores \a r,
        emits Finished(r), then Accepted() for AcceptedCode or Rejected() for RejectedCode.
    */
    void Done(int r);

protected:
    /*! The frame's fade ticks, as ZBWidget::timerEvent(). */
    void timerEvent(QTimerEvent* event) override;
    /*!
        Escape rejects the dialog; Return and Enter (also on the keypad) click the visible default
        QPushButton when it is enabled. Other keys, and keys with other modifiers, are ignored and
        go on to the parent.
    */
    void keyPressEvent(QKeyEvent* event) override;
    /*!
        A close request on a visible dialog rejects it; the close is refused when a slot shows the
        dialog again.
    */
    void closeEvent(QCloseEvent* event) override;
    /*!
        Centres the dialog over the top-level widget's window, or over the screen, unless the
        application has moved it; then starts the frame's fade-in.
    */
    void showEvent(QShowEvent* event) override;

    /*! The widget set with SetTopLevelWidget(), read by each constructor. */
    static QWidget* m_pTopLevel;

private:
    // Centres the dialog over w's window, or over a screen when w is null, inside the work area.
    void AdjustPosition(QWidget* w);
    // Reacts to the session manager's commit request: closes the dialog while its loop runs.
    virtual void CommitDataRequest(QSessionManager& manager);

private Q_SLOTS:
    void OnCommitDataRequest(QSessionManager& manager);

private:
    int m_nResult;
    QEventLoop* m_pEventLoop; // the running Exec() loop, on Exec()'s stack; null when none runs
};

#endif // ZBDIALOG_H
