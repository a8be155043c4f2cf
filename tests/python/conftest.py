"""Fixtures of the Python module's tests: the PyQt that the build was made for, and the theme."""
import gc
import importlib
import os

import pytest

PYQT = os.environ.get("ZB_PYQT", "PyQt6")
QtCore = importlib.import_module(PYQT + ".QtCore")
QtGui = importlib.import_module(PYQT + ".QtGui")
QtWidgets = importlib.import_module(PYQT + ".QtWidgets")
sip = importlib.import_module(PYQT + ".sip")


@pytest.fixture(autouse=True)
def clean(qapp):
    """Installs the theme; afterwards deletes every top-level widget left and runs deferred deletes."""
    import zebguicore

    zebguicore.ZBTheme.Install(qapp)
    yield
    zebguicore.ZBDialog.SetTopLevelWidget(None)
    for widget in QtWidgets.QApplication.topLevelWidgets():
        if not sip.isdeleted(widget) and widget.parentWidget() is None:
            sip.delete(widget)
    flush()


def flush():
    """Runs posted events, deferred deletes included, and Python's garbage collection."""
    gc.collect()
    for _ in range(3):
        QtCore.QCoreApplication.sendPostedEvents(None, int(QtCore.QEvent.Type.DeferredDelete))
        QtCore.QCoreApplication.processEvents()
