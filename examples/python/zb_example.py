"""A small ZebGuiCore application in Python: a frameless main window with a multi-document area, a
combo box whose items a Python delegate paints, a text popup and a message box.

    python3 zb_example.py                        opens the window
    python3 zb_example.py --screenshot FILE      runs a short scripted session and saves FILE
"""
import sys

from PyQt6.QtCore import QModelIndex, QPoint, QSize, Qt, QTimer
from PyQt6.QtGui import QCloseEvent, QColor, QPainter, QPixmap
from PyQt6.QtWidgets import (QApplication, QHBoxLayout, QPushButton, QStyleOptionViewItem,
                             QTextEdit, QVBoxLayout, QWidget)

from zebguicore import ZBComboBox, ZBComboBoxItemDelegate, ZBDialog, ZBMdiAreaWidget, ZBMessageBox, \
    ZBPopupInfo, ZBTheme, ZBTranslator, ZBWidget

Button = ZBMessageBox.StandardButton
COLOURS = ["steelblue", "seagreen", "darkorange", "firebrick"]


class ColourDelegate(ZBComboBoxItemDelegate):
    """Paints each item as a colour swatch and its name; the item's display text is the colour."""

    def ItemSizeHint(self, option: QStyleOptionViewItem, index: QModelIndex) -> QSize:
        return QSize(140, 24)

    def MinimumSizeHint(self, option: QStyleOptionViewItem) -> QSize:
        return QSize(120, 24)

    def PaintCurrentItem(self, painter: QPainter, option: QStyleOptionViewItem, index: QModelIndex) -> None:
        self.paint(painter, option, index)

    def paint(self, painter: QPainter | None, option: QStyleOptionViewItem, index: QModelIndex) -> None:
        if painter is None or not index.isValid():
            return
        name = str(index.data(Qt.ItemDataRole.DisplayRole))
        rect = option.rect.adjusted(4, 4, -4, -4)
        painter.fillRect(rect.x(), rect.y(), rect.height(), rect.height(), QColor(name))
        painter.drawText(rect.adjusted(rect.height() + 6, 0, 0, 0), Qt.AlignmentFlag.AlignVCenter, name)

    def sizeHint(self, option: QStyleOptionViewItem, index: QModelIndex) -> QSize:
        return self.ItemSizeHint(option, index)


class MainWindow(ZBWidget):
    def __init__(self) -> None:
        super().__init__()
        self.AddMaximizeButton()
        self.AddMinimizeButton()
        self.area = ZBMdiAreaWidget()
        self.colours = ZBComboBox()
        self.colours.SetItemDelegate(ColourDelegate(self.colours))  # owned by the combo box
        for row, name in enumerate(COLOURS):
            self.colours.InsertItem(row)
            self.colours.SetItemData(row, name, Qt.ItemDataRole.DisplayRole)
        self.colours.SetCurrentIndex(0)
        self.colours.CurrentIndexChanged[int].connect(self.colour_chosen)
        new_document = QPushButton("New document")
        new_document.clicked.connect(self.new_document)
        tools = QHBoxLayout()
        tools.addWidget(new_document)
        tools.addWidget(self.colours)
        tools.addStretch()
        content = QWidget()
        layout = QVBoxLayout(content)
        layout.setContentsMargins(0, 0, 0, 0)
        layout.addLayout(tools)
        layout.addWidget(self.area)
        self.ReplaceContent(content)  # the window owns the content from here on
        self.setWindowTitle("ZebGuiCore from Python")  # after the content, whose title would win
        self.resize(720, 480)
        self.count = 0

    def new_document(self) -> None:
        self.count += 1
        editor = QTextEdit()
        editor.setWindowTitle("Document %d[*]" % self.count)
        editor.textChanged.connect(lambda: editor.setWindowModified(True))
        self.area.AddWidget(editor)  # the area owns the editor and its sub-window
        self.area.TileSubWindows()

    def colour_chosen(self, index: int) -> None:
        text = "Colour: %s" % self.colours.GetItemData(index, Qt.ItemDataRole.DisplayRole)
        corner = ZBPopupInfo.PopupAlignment.AtBottomRight
        ZBPopupInfo.ShowTextPopup(text, QPixmap(), corner, self, 2000, 200, 400)  # deletes itself when done

    def closeEvent(self, event: QCloseEvent | None) -> None:
        if event is None:
            return
        modified = [w for w in self.area.SubWindows() if w.GetWidget() and w.GetWidget().isWindowModified()]
        question = "Discard the changes of %d documents?" % len(modified)
        if modified and ZBMessageBox.Question(self, "Quit", question, Button.Discard | Button.Cancel,
                                              Button.Cancel) != Button.Discard:
            event.ignore()  # NoButton (Escape) keeps the window open, as Cancel does
            return
        super().closeEvent(event)  # fades out, then closes


def answer_message_box(button: ZBMessageBox.StandardButton) -> None:
    """Presses button in the message box that is open, once it is."""
    for widget in QApplication.topLevelWidgets():
        if isinstance(widget, ZBMessageBox) and widget.isVisible():
            widget.Done(int(button))
            return
    QTimer.singleShot(20, lambda: answer_message_box(button))


def scripted_session(window: MainWindow, screenshot: str) -> None:
    """Two documents, one modified, a colour chosen, a refused quit; then the screenshot and the end."""
    window.new_document()
    window.new_document()
    active = window.area.ActiveSubWindow()
    editor = active.GetWidget() if active is not None else None
    if isinstance(editor, QTextEdit):
        editor.setPlainText("Typed from the script.")
    window.colours.SetCurrentIndex(2)
    QTimer.singleShot(0, lambda: answer_message_box(Button.Cancel))
    window.close()  # refused: the message box's Cancel
    if not window.isVisible():
        raise SystemExit("the window closed although Cancel was pressed")
    grabbed = window.grab()
    if not grabbed.save(screenshot):
        raise SystemExit("cannot write " + screenshot)
    print(screenshot)
    window.area.CloseAllSubWindows()
    QApplication.quit()


def main() -> int:
    app = QApplication(sys.argv)
    ZBTranslator.Install()
    ZBTheme.Install(app)
    window = MainWindow()
    ZBDialog.SetTopLevelWidget(window)  # every dialog and message box centres over it
    window.show()
    if "--screenshot" in sys.argv:
        path = sys.argv[sys.argv.index("--screenshot") + 1]
        window.CancelFadeAction(True)
        QTimer.singleShot(0, lambda: scripted_session(window, path))
    window.move(QPoint(40, 40))
    return app.exec()


if __name__ == "__main__":
    sys.exit(main())
