"""What the bindings can get wrong: types and enums handed back, overloads and default arguments, signals
reaching Python, Python overrides of virtuals, ownership, exceptions, the theme API."""
import gc, importlib, os  # noqa: E401

import pytest

import zebguicore as zb

PYQT = os.environ.get("ZB_PYQT", "PyQt6")  # the PyQt that the module was built for
QtCore, QtGui, QtTest, QtWidgets, sip = (importlib.import_module(PYQT + "." + name)
                                         for name in ("QtCore", "QtGui", "QtTest", "QtWidgets", "sip"))

APP = QtWidgets.QApplication.instance() or QtWidgets.QApplication([])  # the tables build Qt values
Qt = QtCore.Qt
SB = zb.ZBMessageBox.StandardButton


@pytest.fixture(autouse=True)
def clean():  # the theme; afterwards every top-level widget left is deleted
    zb.ZBTheme.Install(APP)
    yield
    zb.ZBDialog.SetTopLevelWidget(None)
    for widget in QtWidgets.QApplication.topLevelWidgets():
        if not sip.isdeleted(widget) and widget.parentWidget() is None:
            sip.delete(widget)
    flush()


def flush():  # Python's garbage, then the posted events, deferred deletes included
    gc.collect()
    QtCore.QCoreApplication.sendPostedEvents(None, int(QtCore.QEvent.Type.DeferredDelete))
    QtCore.QCoreApplication.processEvents()


def run(obj, calls):  # makes each call, a function of obj or a (method, args...) tuple; returns the last result
    result = None
    for call in calls:
        result = call(obj) if callable(call) else getattr(obj, call[0])(*call[1:])
    return result


def plain(arg):  # enumeration and flags values as ints, so that rows compare alike on PyQt5 and PyQt6
    return arg if isinstance(arg, (str, type, QtCore.QObject)) else int(getattr(arg, "value", arg))


# Each row: a class, calls through overloads and default arguments, and what the last one hands back.
CALLS = [
    (zb.ZBTitleBar, [("AddButton", Qt.AlignmentFlag.AlignRight, "Tip")], lambda r: r.toolTip(), "Tip"),
    (lambda: zb.ZBDockWidget("D"), [("FooterBar",)], type, zb.ZBFooterBar),
    (zb.ZBCommonComboBox, [("view",)], type, QtWidgets.QListView),
    (QtWidgets.QWidget, [lambda o: zb.ZBPopupInfo.ShowTextPopup("note", QtGui.QPixmap(), zb.ZBPopupInfo.PopupAlignment
     .AtCenter, o, 9, 0, 0), ("findChildren", zb.ZBPopupInfo)], lambda r: [type(p) for p in r], [zb.ZBPopupInfo]),
    (lambda: zb.ZBResource, [("GetData", zb.ZBResource.ConstRole.TitleBarMargins)], type, QtCore.QRect),
    (lambda: zb.ZBTranslator, [("Install", QtCore.QLocale(QtCore.QLocale.Language.English))], bool, False),
]


@pytest.mark.parametrize("build,calls,read,expected", CALLS)
def test_call(build, calls, read, expected):
    assert read(run(build(), calls)) == expected


def test_theme():  # variant, accent and the application's style sheet, left as they were
    t = zb.ZBTheme
    run(t, [("SetVariant", t.Variant.Dark), ("SetAccentColor", QtGui.QColor("#102030")),
            ("SetApplicationStyleSheet", "QLabel { color: @text; }")])
    sheets = "QLabel { color: #" in APP.styleSheet(), "TITLECONTENT" in t.StyleSheet()
    assert (t.GetEffectiveVariant(), t.GetAccentColor().name(), sheets) == (t.Variant.Dark, "#102030", (True, True))
    run(t, [("SetVariant", t.Variant.System), ("SetApplicationStyleSheet", ""), ("SetAccentColor", QtGui.QColor())])


# Each row: the object, the signal, the calls, and the arguments the Python slot receives.
SIGNALS = [
    (zb.ZBLinkLabel, lambda o: o.TextChanged[str], [("SetText", "a")], [("a",)]),
    (zb.ZBComboBox, lambda o: o.CurrentIndexChanged[int, int],
     [("InsertItem", 0), ("InsertItem", 1), ("SetCurrentIndex", 1)], [(-1, 1)]),
    (zb.ZBSettingsWidget, lambda o: o.StateChanged, [("SetState", zb.ZBSettingsWidget.State.Basic)], [(0,)]),
    (zb.ZBDialog, lambda o: o.Finished, [("Done", 5)], [(5,)]),
    (zb.ZBWidget, lambda o: o.FadeStateChanged, [("show",)], [(zb.ZBWidget.FadeState.Intensifying,)]),
    (zb.ZBMdiSubWindow, lambda o: o.StateChanged, [("ShowMaximized",)], [(0, Qt.WindowState.WindowMaximized)]),
    (zb.ZBMdiAreaWidget, lambda o: o.SubWindowActivated, [("AddWidget", None)], lambda o: [(o.ActiveSubWindow(),)]),
]


@pytest.mark.parametrize("cls,signal,calls,expected", SIGNALS)
def test_signal(cls, signal, calls, expected):
    obj, got = cls(), []
    signal(obj).connect(lambda *args: got.append(tuple(map(plain, args))))
    run(obj, calls)
    expected = expected(obj) if callable(expected) else expected  # a sub-window arrives as its own class
    assert got[:len(expected)] == [tuple(map(plain, row)) for row in expected]


class Delegate(zb.ZBComboBoxItemDelegate):

    def __init__(self, fail=False):
        super().__init__()
        self.fail, self.painted = fail, []

    def ItemSizeHint(self, option, index):
        if self.fail:
            raise ValueError("no size")
        return QtCore.QSize(40 + 10 * index.row(), 20 + index.row())

    def MinimumSizeHint(self, option):
        return QtCore.QSize(30, 18)

    def PaintCurrentItem(self, painter, option, index):
        self.painted.append(("face", index.data(Qt.ItemDataRole.DisplayRole), option.rect.isValid()))

    def paint(self, painter, option, index):
        self.painted.append(("row", index.row()))


def test_python_delegate_sizes_and_paints_without_a_python_reference_and_may_raise(qtbot):
    combo = zb.ZBComboBox()
    combo.SetItemDelegate(Delegate())
    for row in range(3):
        run(combo, [("InsertItem", row), ("SetItemData", row, "item %d" % row, Qt.ItemDataRole.DisplayRole)])
    combo.SetCurrentIndex(1)
    gc.collect()
    assert (combo.sizeHint().width() >= 60, combo.sizeHint().height() >= 22) == (True, True)
    combo.show()
    combo.grab()
    delegate = combo.GetItemDelegate()
    assert (type(delegate), ("face", "item 1", True) in delegate.painted) == (Delegate, True)
    qtbot.mouseClick(combo, Qt.MouseButton.LeftButton)
    combo.findChild(QtWidgets.QListView).viewport().grab()  # the open list, a window inside the combo box
    assert {("row", 0), ("row", 1), ("row", 2)} <= set(delegate.painted)
    with qtbot.capture_exceptions() as exceptions:  # the held one deleted; the error reported, and the library goes on
        combo.SetItemDelegate(Delegate(fail=True))
        combo.sizeHint()
    assert [e[0] for e in exceptions][:1] == [ValueError]


class Window(zb.ZBWidget):  # records its show and close events, its fade states too once told; may refuse to close

    def showEvent(self, event):
        self.events.append("show")
        super().showEvent(event)

    def closeEvent(self, event):
        self.events.append("close")
        if self.refuse:
            return event.ignore()
        super().closeEvent(event)


@pytest.mark.parametrize("refuse,states", [(False, [zb.ZBWidget.FadeState.Closing]), (True, [])])
def test_python_subclass_of_the_frame(refuse, states):
    window = Window()
    window.events, window.refuse = [], refuse
    run(window, [("ReplaceContent", QtWidgets.QLabel("content")), ("SetMainContentMargins", 7, 7, 7, 7),
                 ("AddMinimizeButton",)])
    assert window.Content().text() == "content"
    window.show()
    window.CancelFadeAction(True)
    window.FadeStateChanged.connect(window.events.append)
    window.close()
    assert (list(map(plain, window.events)), window.isVisible()) == (list(map(plain, ["show", "close"] + states)), True)


def answer_later(button):  # once the message box shows: its button, or Escape for None
    boxes = [w for w in QtWidgets.QApplication.topLevelWidgets() if isinstance(w, zb.ZBMessageBox) and w.isVisible()]
    if not boxes:
        return QtCore.QTimer.singleShot(10, lambda: answer_later(button))
    if button is None:
        return QtTest.QTest.keyClick(boxes[0], Qt.Key.Key_Escape)
    boxes[0].Done(int(button))


@pytest.mark.parametrize("function,answer,expected", [
    (zb.ZBMessageBox.Question, SB.Yes, SB.Yes), (zb.ZBMessageBox.Information, None, SB.NoButton),
    (lambda *args: zb.ZBMessageBox.About(*args[:3]), SB.Ok, None),  # the box deletes itself
])
def test_static_message_boxes(function, answer, expected):
    main = zb.ZBWidget()
    zb.ZBDialog.SetTopLevelWidget(main)
    answer_later(answer)
    result = function(None, "Title", "Text?", SB.Yes | SB.Discard | SB.Ok, SB.Ok)
    assert (result, type(result)) == (expected, type(expected))
    flush()
    assert main.findChildren(zb.ZBMessageBox) == []


def tagged(cls, *args):
    return type("Tagged" + cls.__name__, (cls,), {"tag": "python"})(*args)


# Each row hands a Python object over, keeping no reference to it; it must live on in its holder.
@pytest.mark.parametrize("holder,hand", [
    (zb.ZBMdiAreaWidget, lambda h, w: h.AddWidget(w)),
    (zb.ZBMdiAreaWidget, lambda h, w: h.AddSubWindow(zb.ZBMdiSubWindow()) or h.ActiveSubWindow().SetWidget(w)),
    (zb.ZBDockWidget, lambda h, w: h.SetWidget(w)),
    (zb.ZBDockWidget, lambda h, w: h.setWidget(w)),
    (zb.ZBTitleBar, lambda h, w: h.AddWidget(w, Qt.AlignmentFlag.AlignLeft)),
    (zb.ZBToolBar, lambda h, w: h.AddWidget(w, 3)),
    (zb.ZBToolBarContainer, lambda h, w: h.AddWidget(w, -1)),
    (zb.ZBMessageBox, lambda h, w: h.AddButton(w, SB.Ok)),
    # A dialog's parent is the top-level widget, not the one it is built with, which dies at once.
    (zb.ZBWidget, lambda h, w: zb.ZBDialog.SetTopLevelWidget(h) or tagged(zb.ZBDialog, QtWidgets.QWidget())),
    (zb.ZBWidget, lambda h, w: zb.ZBDialog.SetTopLevelWidget(h) or tagged(zb.ZBMessageBox, QtWidgets.QWidget())),
])
def test_objects_handed_over_live_with_their_holder(holder, hand):
    holder = holder()
    hand(holder, tagged(QtWidgets.QPushButton))
    flush()
    assert [w.tag for w in holder.findChildren(QtCore.QObject) if hasattr(w, "tag")] == ["python"]


@pytest.mark.parametrize("child", [
    lambda parent: zb.ZBLinkLabel(parent.Content()),
    lambda parent: [zb.ZBDialog.SetTopLevelWidget(parent), zb.ZBDialog()][1],
])
def test_parent_deleted_while_python_holds_a_child(child):
    parent = zb.ZBWidget()
    held = child(parent)
    sip.delete(parent)
    assert sip.isdeleted(held)  # so that a call raises instead of crashing
