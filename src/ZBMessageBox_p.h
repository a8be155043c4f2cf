// Internal, not part of the API.
#ifndef ZBMESSAGEBOX_P_H
#define ZBMESSAGEBOX_P_H

#include <QPointer>
#include <QSize>

class QFont;
class QGridLayout;
class QLabel;
class QPushButton;
class QRect;
class QSignalMapper;
class QString;
class QTextBrowser;
class ZBMessageBox;

namespace ZBMessageBoxText {

/*! What ViewSize() adds beside the text for the view's frame and margins. */
constexpr int TextRoom = 20;

/*!
    The size of the text view for \a plainText in \a font on a screen whose work area is \a available:
    the width holds TextRoom beside the text, the height is both the minimum and the maximum height.
*/
QSize ViewSize(const QFont& font, const QString& plainText, const QRect& available);

/*! The length of the longest run of characters without white space in \a plainText. */
int LongestRun(const QString& plainText);

/*! Runs longer than this make the text view break lines anywhere rather than at word boundaries. */
constexpr int WordWrapRunLimit = 1000;

} // namespace ZBMessageBoxText

class ZBMessageBoxPrivate
{
public:
    explicit ZBMessageBoxPrivate(ZBMessageBox* q);

    void Init();
    void SizeTextView();
    void FitMarginsIntoTextRoom();
    void MakeDefault(QPushButton* button);
    // The column of the button row that a kind takes; -1 for a value that is not a kind.
    static int ColumnOf(int kind);
    static QString TextOf(int kind);

    ZBMessageBox* const q;
    QGridLayout* buttonRow = nullptr;
    QSignalMapper* mapper = nullptr;
    QTextBrowser* textView = nullptr; // "ZBMESSBOXTEXTLABEL"
    QLabel* iconLabel = nullptr;      // "ZBMESSBOXICONLABEL"
    QPointer<QPushButton> defaultButton;
};

#endif // ZBMESSAGEBOX_P_H
