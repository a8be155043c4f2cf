// Internal, not part of the API.
#ifndef ZBCOMBOBOX_P_H
#define ZBCOMBOBOX_P_H

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <memory>

class QKeyEvent;
class ZBComboBox;
class ZBPopupWidget;

class ZBComboBoxPrivate
{
public:
    explicit ZBComboBoxPrivate(ZBComboBox* q);
    ~ZBComboBoxPrivate();

    void Init();
    void BuildPopup(); // the popup list with its connections, and again if it is ever deleted
    void OpenPopup();
    // Sizes the popup and lays it over the combo box, with the title bar and footer that show, or
    // that will show once the popup does.
    void PlacePopup(bool shown);
    void ClosePopup();

    // Keyboard operation, modelled on QComboBox. Keys reach the combo box while it has the focus,
    // and the list while the popup window is active; both end here. Returns whether the key was used.
    bool ComboKey(QKeyEvent* event);
    bool ListKey(QKeyEvent* event);
    // Gives the focus back to the combo box when a list opened from the keyboard closes.
    void ListHidden();
    // Opens the list for browsing: the arrows move a highlight, Return chooses it, Escape leaves.
    void OpenFromKeyboard();
    // A key that changes the current item directly (closed list, or a list opened by the mouse).
    bool StepKey(QKeyEvent* event);
    // A key in a list opened from the keyboard.
    bool BrowseKey(QKeyEvent* event);
    // The highlighted row of a list opened from the keyboard (its selection), -1 for none.
    int Highlighted() const;
    void Highlight(int row, bool announce);
    // The next row whose display text starts with what was typed, -1 if none (as item views search).
    int Search(int from, const QString& typed);

    ZBComboBox* const q;
    ZBPopupWidget* popup = nullptr; // child window of the combo box, from Init() to the destructor
    bool openedFromKeyboard = false;
    QString searchText;
    QElapsedTimer searchTimer;
    std::unique_ptr<QObject> listKeys; // key filter on the popup's list
};

#endif // ZBCOMBOBOX_P_H
