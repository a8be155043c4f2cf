"""The Python module: every class through its main calls, signals, overrides, ownership, errors."""
import gc

import pytest
from conftest import QtCore, QtGui, QtWidgets, flush, sip

import zebguicore as zb

Qt = QtCore.Qt
SB = zb.ZBMessageBox.StandardButton


def dialog_result(dialog):
    dialog.SetResult(7)
    return dialog.Result()


def mdi_added(area):
    area.AddWidget(QtWidgets.QTextEdit())
    order = zb.ZBMdiAreaWidget.WindowOrder.StackingOrder
    return [type(area.SubWindowList(order)[0].GetWidget()), area.SubWindowsCount(), area.GetState()]


def toolbar_order(bar):
    last = bar.AddButton("B", QtGui.QIcon(), "b", 5)
    first = bar.AddButton("A", QtGui.QIcon(), "a", 1)
    return [bar.Actions(), bar.findChild(QtWidgets.QWidget, "ZBTOOLBARCONTENT").layout().indexOf(first)
            < bar.findChild(QtWidgets.QWidget, "ZBTOOLBARCONTENT").layout().indexOf(last)]


def combo_data(combo):
    combo.InsertItem(0)
    combo.SetItemData(0, "x")
    return [combo.GetItemData(0), combo.GetItemCount()]


def link_label(label):
    label.SetText("go")
    label.SetData(3, 5)
    return [label.GetText(), label.GetData(5)]


def settings_switched(panel):
    panel.setProperty("state", zb.ZBSettingsWidget.State.Basic)
    return [panel.GetState(), panel.property("policy"), panel.GetAdvancedContent().isHidden()]


def popup_shown(parent):
    zb.ZBPopupInfo.ShowTextPopup("note", QtGui.QPixmap(), zb.ZBPopupInfo.PopupAlignment.AtCenter,
                                 parent, 1000, 0, 0)
    return [type(w) for w in parent.findChildren(zb.ZBPopupInfo)]


# Each row builds one class and reads back what its main calls did.
CLASSES = [
    ("title bar", zb.ZBTitleBar, lambda o: o.AddButton(Qt.AlignmentFlag.AlignRight, "Tip").toolTip(), "Tip"),
    ("footer bar", lambda: zb.ZBFooterBar(None), lambda o: o.Content().objectName(), "ZBFOOTERBARCONTENT"),
    ("frame", zb.ZBWidget, lambda o: [o.Content().objectName(), type(o.TitleBar())],
     ["ZBWIDGETCONTENT", zb.ZBTitleBar]),
    ("dialog", zb.ZBDialog, dialog_result, 7),
    ("mdi area", zb.ZBMdiAreaWidget, mdi_added, [QtWidgets.QTextEdit, 1, zb.ZBMdiAreaWidget.MdiState.Normal]),
    ("dock", lambda: zb.ZBDockWidget("D"), lambda o: [type(o.TitleBar()), type(o.FooterBar()), o.windowTitle()],
     [zb.ZBTitleBar, zb.ZBFooterBar, "D"]),
    ("tool bar", lambda: zb.ZBToolBar("Tools"), toolbar_order, [[], True]),
    ("tool container", zb.ZBToolBarContainer,
     lambda o: o.AddButton("T", QtGui.QIcon(), "t", -1).windowTitle(), "T"),
    ("common combo", zb.ZBCommonComboBox, lambda o: type(o.view()), QtWidgets.QListView),
    ("combo", zb.ZBComboBox, combo_data, ["x", 1]),
    ("link label", zb.ZBLinkLabel, link_label, ["go", 3]),
    ("settings", zb.ZBSettingsWidget, settings_switched,
     [zb.ZBSettingsWidget.State.Basic, zb.ZBSettingsWidget.ContentPolicy.AddAdvancedOptions, True]),
    ("popup", QtWidgets.QWidget, popup_shown, [zb.ZBPopupInfo]),
    ("resource", lambda: zb.ZBResource, lambda o: o.MarginsRect(1, 2, 3, 4).bottom(), 4),
    ("resource data", lambda: zb.ZBResource, lambda o: type(o.GetData(o.ConstRole.TitleBarMargins)), QtCore.QRect),
    ("translator", lambda: zb.ZBTranslator, lambda o: o.Install(QtCore.QLocale(QtCore.QLocale.Language.German)),
     True),
    ("theme", lambda: zb.ZBTheme, lambda o: "TITLECONTENT" in o.StyleSheet(), True),
]


@pytest.mark.parametrize("name,build,call,expected", CLASSES, ids=[row[0] for row in CLASSES])
def test_class(name, build, call, expected):
    obj = build()
    assert call(obj) == expected
    zb.ZBTranslator.Install(QtCore.QLocale(QtCore.QLocale.Language.English))


def plain(arg):
    """Enumeration and flags values as ints, so that rows compare alike on PyQt5 and PyQt6."""
    if isinstance(arg, (str, QtCore.QObject)):
        return arg
    return int(getattr(arg, "value", arg))


def record(signal):
    got = []
    signal.connect(lambda *args: got.append(tuple(map(plain, args))))
    return got


def maximize(sub):
    sub.ShowMaximized()


# Each row: the object, the signal, what to do, and the arguments the Python slot receives.
SIGNALS = [
    ("link text", zb.ZBLinkLabel, lambda o: o.TextChanged[str], lambda o: o.SetText("a"), [("a",)]),
    ("link data", zb.ZBLinkLabel, lambda o: o.DataChanged, lambda o: o.SetData(1, 42), [(42,)]),
    ("combo insert", zb.ZBComboBox, lambda o: o.ItemInserted, lambda o: o.InsertItem(0), [(0,)]),
    ("combo current", zb.ZBComboBox, lambda o: o.CurrentIndexChanged[int, int],
     lambda o: [o.InsertItem(0), o.InsertItem(1), o.SetCurrentIndex(1)], [(-1, 1)]),
    ("combo removed", zb.ZBComboBox, lambda o: o.ItemRemoved, lambda o: o.RemoveItem(3), [(3,)]),
    ("settings state", zb.ZBSettingsWidget, lambda o: o.StateChanged,
     lambda o: o.SetState(zb.ZBSettingsWidget.State.Basic), [(zb.ZBSettingsWidget.State.Basic,)]),
    ("settings policy", zb.ZBSettingsWidget, lambda o: o.PolicyChanged,
     lambda o: o.SetPolicy(zb.ZBSettingsWidget.ContentPolicy.HideBasicOptions),
     [(zb.ZBSettingsWidget.ContentPolicy.HideBasicOptions,)]),
    ("dialog finished", zb.ZBDialog, lambda o: o.Finished, lambda o: o.Done(5), [(5,)]),
    ("dialog accepted", zb.ZBDialog, lambda o: o.Accepted, lambda o: o.Accept(), [()]),
    ("frame fade", zb.ZBWidget, lambda o: o.FadeStateChanged, lambda o: o.show(),
     [(zb.ZBWidget.FadeState.Intensifying,)]),
    ("sub-window state", zb.ZBMdiSubWindow, lambda o: o.StateChanged, maximize,
     [(0, Qt.WindowState.WindowMaximized)]),
    ("title double click", zb.ZBTitleBar, lambda o: o.DoubleClicked,
     lambda o: QtCore.QCoreApplication.sendEvent(o, QtGui.QMouseEvent(
         QtCore.QEvent.Type.MouseButtonDblClick, QtCore.QPointF(2, 2), QtCore.QPointF(2, 2),
         Qt.MouseButton.LeftButton, Qt.MouseButton.LeftButton, Qt.KeyboardModifier.NoModifier)),
     [(Qt.MouseButton.LeftButton,)]),
]


@pytest.mark.parametrize("name,cls,signal,act,expected", SIGNALS, ids=[row[0] for row in SIGNALS])
def test_signal(name, cls, signal, act, expected):
    obj = cls()
    got = record(signal(obj))
    act(obj)
    assert got[:len(expected)] == [tuple(map(plain, row)) for row in expected]


def test_mdi_activation_signal_carries_the_sub_window():
    area = zb.ZBMdiAreaWidget()
    got = record(area.SubWindowActivated)
    sub = area.AddWidget(QtWidgets.QLabel("doc"))
    assert got == [(sub,)] and type(got[0][0]) is zb.ZBMdiSubWindow


class Delegate(zb.ZBComboBoxItemDelegate):
    """Rows 20 pixels plus their number high; records what it painted."""

    def __init__(self, fail=False):
        super().__init__()
        self.fail = fail
        self.painted = []

    def ItemSizeHint(self, option, index):
        if self.fail:
            raise ValueError("no size")
        return QtCore.QSize(40 + 10 * index.row(), 20 + index.row())

    def MinimumSizeHint(self, option):
        return QtCore.QSize(30, 18)

    def PaintCurrentItem(self, painter, option, index):
        self.painted.append(("face", index.data(Qt.ItemDataRole.DisplayRole), option.rect.isValid()))

    def sizeHint(self, option, index):
        return self.ItemSizeHint(option, index)

    def paint(self, painter, option, index):
        self.painted.append(("row", index.row()))


def filled_combo(delegate):
    combo = zb.ZBComboBox()
    combo.SetItemDelegate(delegate)
    for row in range(3):
        combo.InsertItem(row)
        combo.SetItemData(row, "item %d" % row, Qt.ItemDataRole.DisplayRole)
    combo.SetCurrentIndex(1)
    return combo


def test_python_delegate_sizes_and_paints_the_items(qtbot):
    combo = filled_combo(Delegate())
    qtbot.addWidget(combo)
    assert combo.sizeHint().width() >= 60 and combo.sizeHint().height() >= 22
    assert combo.minimumSizeHint().height() >= 18
    combo.resize(combo.sizeHint())
    combo.show()
    combo.grab()
    delegate = combo.GetItemDelegate()
    assert type(delegate) is Delegate and ("face", "item 1", True) in delegate.painted
    qtbot.mouseClick(combo, Qt.MouseButton.LeftButton)
    views = [v for w in QtWidgets.QApplication.topLevelWidgets() if w.isVisible()
             for v in w.findChildren(QtWidgets.QListView)]
    assert views, "the list did not open"
    views[0].viewport().grab()
    assert {("row", 0), ("row", 1), ("row", 2)} <= set(delegate.painted)


class Window(zb.ZBWidget):
    """A frame subclass that uses the protected members and overrides events."""

    def __init__(self):
        super().__init__()
        self.events = []
        self.refuse = False
        self.ReplaceContent(QtWidgets.QLabel("content"))
        self.SetMainContentMargins(7, 7, 7, 7)
        self.AddMinimizeButton()

    def showEvent(self, event):
        self.events.append("show")
        super().showEvent(event)

    def closeEvent(self, event):
        self.events.append("close")
        if self.refuse:
            event.ignore()
        else:
            super().closeEvent(event)


@pytest.mark.parametrize("refuse,states", [(False, [zb.ZBWidget.FadeState.Closing]), (True, [])])
def test_python_subclass_of_the_frame(qtbot, refuse, states):
    window = Window()
    qtbot.addWidget(window)
    assert window.Content().objectName() == "ZBWIDGETCONTENT" and window.Content().text() == "content"
    assert window.CloseButton().objectName() == "CLOSEBUTTON"
    assert window.MinimizeButton().objectName() == "MINIMIZEBUTTON"
    window.show()
    window.CancelFadeAction(True)
    got = record(window.FadeStateChanged)
    window.refuse = refuse
    window.close()
    assert window.events == ["show", "close"] and [s for (s,) in got] == states
    assert window.isVisible()
    window.RestoreMainContentMargins()


def answer_later(button):
    def answer():
        for widget in QtWidgets.QApplication.topLevelWidgets():
            if isinstance(widget, zb.ZBMessageBox) and widget.isVisible():
                if button is None:
                    QtCore.QCoreApplication.sendEvent(widget, QtGui.QKeyEvent(
                        QtCore.QEvent.Type.KeyPress, Qt.Key.Key_Escape, Qt.KeyboardModifier.NoModifier))
                else:
                    widget.Done(int(button))
                return
        QtCore.QTimer.singleShot(10, answer)

    QtCore.QTimer.singleShot(0, answer)


@pytest.mark.parametrize("function,answer,expected", [
    (zb.ZBMessageBox.Question, SB.Yes, SB.Yes),
    (zb.ZBMessageBox.Warning, SB.Discard, SB.Discard),
    (zb.ZBMessageBox.Critical, SB.Ok, SB.Ok),
    (zb.ZBMessageBox.Information, None, SB.NoButton),
])
def test_static_message_boxes(function, answer, expected):
    main = zb.ZBWidget()
    zb.ZBDialog.SetTopLevelWidget(main)
    answer_later(answer)
    result = function(None, "Title", "Text?", SB.Yes | SB.Discard | SB.Ok, SB.Ok)
    assert result == expected and isinstance(result, SB)
    answer_later(SB.Ok)
    zb.ZBMessageBox.About(None, "About", "Text")
    flush()
    assert main.findChildren(zb.ZBMessageBox) == []


class Tagged(QtWidgets.QPushButton):
    tag = "python"


def handed_over(holder, hand):
    """Hands a Python subclass widget over without keeping a reference, then finds it again."""
    hand(holder, Tagged())
    flush()
    return [w.tag for w in holder.findChildren(Tagged)]


@pytest.mark.parametrize("holder,hand", [
    (zb.ZBMdiAreaWidget, lambda h, w: h.AddWidget(w)),
    (zb.ZBMdiAreaWidget, lambda h, w: h.AddSubWindow(sub := zb.ZBMdiSubWindow()) or sub.SetWidget(w)),
    (zb.ZBDockWidget, lambda h, w: h.SetWidget(w)),
    (zb.ZBDockWidget, lambda h, w: h.setWidget(w)),
    (zb.ZBTitleBar, lambda h, w: h.AddWidget(w, Qt.AlignmentFlag.AlignLeft)),
    (zb.ZBToolBar, lambda h, w: h.AddWidget(w, 3)),
    (zb.ZBToolBarContainer, lambda h, w: h.AddWidget(w, -1)),
    (zb.ZBMessageBox, lambda h, w: h.AddButton(w, SB.Ok)),
])
def test_widgets_handed_over_live_with_their_holder(holder, hand):
    assert handed_over(holder(), hand) == ["python"]


def test_ignored_hand_over_stays_with_python():
    area = zb.ZBMdiAreaWidget()
    area.BlockMdiArea(True)
    sub = zb.ZBMdiSubWindow()
    area.AddSubWindow(sub)
    assert sub.parent() is None and area.SubWindowsCount() == 0
    del sub
    flush()


class Dialog(zb.ZBDialog):
    tag = "dialog"


def test_dialog_belongs_to_the_top_level_widget():
    main, other = zb.ZBWidget(), QtWidgets.QWidget()
    zb.ZBDialog.SetTopLevelWidget(main)
    Dialog(other)
    zb.ZBMessageBox(other)
    flush()
    assert [d.tag for d in main.findChildren(Dialog)] == ["dialog"]
    assert other.findChildren(zb.ZBDialog) == [] and len(main.findChildren(zb.ZBMessageBox)) == 1
    dialog = main.findChild(Dialog)
    sip.delete(main)
    with pytest.raises(RuntimeError):
        dialog.Result()


@pytest.mark.parametrize("child", [
    lambda parent: zb.ZBLinkLabel(parent.Content()),
    lambda parent: parent.TitleBar(),
    lambda parent: zb.ZBMdiAreaWidget(parent).AddWidget(QtWidgets.QLabel()),
])
def test_parent_deleted_while_python_holds_a_child(child):
    parent = zb.ZBWidget()
    held = child(parent)
    sip.delete(parent)
    with pytest.raises(RuntimeError, match="deleted"):
        held.objectName()


def test_delegate_without_python_reference_keeps_painting():
    combo = filled_combo(Delegate())
    gc.collect()
    combo.grab()
    assert ("face", "item 1", True) in combo.GetItemDelegate().painted
    combo.SetItemDelegate(Delegate())
    flush()
    combo.grab()
    assert combo.GetItemDelegate().painted


class Broken(Window):
    def showEvent(self, event):
        raise RuntimeError("broken")


def test_exception_in_an_override_is_reported_and_the_library_goes_on(qtbot):
    combo = filled_combo(Delegate(fail=True))
    with qtbot.capture_exceptions() as exceptions:
        size = combo.sizeHint()
    assert exceptions and exceptions[0][0] is ValueError
    assert size.isValid() or size == QtCore.QSize()
    window = Broken()
    with qtbot.capture_exceptions() as exceptions:
        window.show()
    assert exceptions and window.isVisible()
