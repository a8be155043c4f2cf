#!/usr/bin/env bash
# Developer entry point.
#   scripts/dev.sh run    install what is missing, build, install into .prefix/ and run the gallery
#   scripts/dev.sh run editor
#                         the same, then run the editor example (without a display: its scripted
#                         session, with a screenshot)
#   scripts/dev.sh run python
#                         the same, then run the Python example from the installed module (without a
#                         display: its scripted session, with a screenshot)
#   scripts/dev.sh test   install what is missing, then build and test every configuration:
#                         Qt 6, Qt 5, Qt 6 with ASan+UBSan, Qt 6 with Clang, a static Qt 6 package
#                         (CMake's default generator), the reference documentation, the sources
#                         compiled for Windows, and the installed packages from a consumer
#                         application; the Qt 6 build also on X11 and Wayland, the Qt 5 build on X11
#                         (the desktop test)
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${ZB_BUILD_DIR:-$ROOT/build}
PREFIX=${ZB_PREFIX:-$ROOT/.prefix}
JOBS=${ZB_JOBS:-2}
PACKAGES=(cmake ninja-build g++ clang pkg-config qt6-base-dev qt6-base-private-dev qt6-scxml-dev libgl-dev
          qtbase5-dev qtbase5-private-dev fonts-dejavu-core qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
          qttools5-dev qttools5-dev-tools libqt6opengl6-dev doxygen qt6-documentation-tools xvfb openbox
          xcompmgr weston qt6-wayland xdotool x11-utils imagemagick python3 dbus-daemon dbus-bin
          at-spi2-core python3-pyatspi g++-mingw-w64-x86-64-posix sip-tools python3-pyqtbuild python3-dev
          pyqt6-dev python3-pyqt6 pyqt5-dev python3-pyqt5 python3-pytest python3-pytestqt mypy)

say() { printf '\n== %s\n' "$*"; }

install_missing() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    say "installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# configure_build <preset> [cmake args...]: configures and builds one of CMakePresets.json's
# configurations in $BUILD/<preset>. A folder that an earlier configuration of another generator left
# is made anew.
configure_build() {
    local name=$1; shift
    say "build $name"
    if ! cmake -S "$ROOT" --preset "$name" -B "$BUILD/$name" "$@" >/dev/null 2>&1; then
        rm -rf "${BUILD:?}/$name"
        cmake -S "$ROOT" --preset "$name" -B "$BUILD/$name" "$@" >/dev/null
    fi
    cmake --build "$BUILD/$name" -j "$JOBS"
}

TOTAL_PASSED=0
TOTAL_FAILED=0
FAILED_CONFIGS=()

# tally <what> <configuration> <status>: a check's line, counted in the totals.
tally() {
    if [ "$3" -eq 0 ]; then
        echo "$1: passed"
        TOTAL_PASSED=$((TOTAL_PASSED + 1))
    else
        echo "$1: FAILED"
        TOTAL_FAILED=$((TOTAL_FAILED + 1))
        FAILED_CONFIGS+=("$2")
    fi
}

# run_ctest <name>: runs the build's tests and adds them to the totals.
run_ctest() {
    local name=$1 log="$BUILD/$1/ctest.log" rc=0
    say "test $name"
    local junit="$BUILD/$1/ctest.xml" counts total=0 failed=0
    rm -f "$junit"
    (cd "$BUILD/$name" && ctest --output-on-failure --no-tests=error -j "$JOBS" --output-junit "$junit") >"$log" 2>&1 ||
        rc=$?
    grep -E '^(The following tests FAILED|[[:space:]]+[0-9]+ - )' "$log" || true
    # The counts come from CTest's own JUnit report: its test suite's tests and failures.
    counts=$(/usr/bin/python3 -c 'import sys, xml.etree.ElementTree as t; s = t.parse(sys.argv[1]).getroot()
print(s.get("tests"), s.get("failures"))' "$junit" 2>/dev/null || true)
    if [ -n "$counts" ]; then
        read -r total failed <<<"$counts"
        echo "$name: $((total - failed)) of $total tests passed"
        TOTAL_PASSED=$((TOTAL_PASSED + total - failed))
        TOTAL_FAILED=$((TOTAL_FAILED + failed))
    else
        echo "$name: no test report"
    fi
    if [ $rc -ne 0 ]; then
        [ -n "$counts" ] || TOTAL_FAILED=$((TOTAL_FAILED + 1))
        FAILED_CONFIGS+=("$name")
        sed -n '/Test command/,$p' "$log" | grep -E 'FAIL!|Loc:|ERROR|Sanitizer|runtime error' | head -n 40 || true
    fi
}

# desktop_test <name> [--x11] [--wayland]: the build's desktop test on real display servers (started
# by the test itself), each of its checks added to the totals.
desktop_test() {
    local name=$1 log="$BUILD/$1/desktop.log" rc=0
    shift
    say "desktop test $name"
    python3 "$ROOT/tests/desktop/desktop_test.py" "$BUILD/$name/tests/desktop/zb_desktop_app" "$@" >"$log" 2>&1 ||
        rc=$?
    grep -E '^(FAIL|SKIP)' "$log" || true
    local line passed failed
    line=$(grep -E '^desktop: [0-9]+ passed, [0-9]+ failed' "$log" | tail -n 1 || true)
    echo "$name ${line:-desktop: no summary}"
    if [ -n "$line" ]; then
        passed=$(sed -E 's/desktop: ([0-9]+) passed.*/\1/' <<<"$line")
        failed=$(sed -E 's/.* ([0-9]+) failed/\1/' <<<"$line")
        TOTAL_PASSED=$((TOTAL_PASSED + passed))
        TOTAL_FAILED=$((TOTAL_FAILED + failed))
    fi
    if [ $rc -ne 0 ]; then
        [ -n "$line" ] || { TOTAL_FAILED=$((TOTAL_FAILED + 1)); tail -n 20 "$log"; }
        FAILED_CONFIGS+=("desktop-$name")
    fi
}

# consumer <name> <package> <qt major> <prefix>: builds a small application against the package
# installed in <prefix>, installs it and runs the installed copy with no library path set, as a user
# would start it.
consumer() {
    local name=$1 pkg=$2 major=$3 prefix=$4 dir="$BUILD/consumer-$1" rc=0 static=""
    [ "$name" = static ] && static="--static"
    say "consumer of $pkg ($name)"
    rm -rf "$dir"
    {
        cmake -S "$ROOT/tests/consumer" -B "$dir" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
            -DCMAKE_INSTALL_PREFIX="$dir/install" -DZB_PACKAGE="$pkg" -DQT_VERSION_MAJOR="$major" &&
            cmake --build "$dir" && cmake --install "$dir" &&
            env -u LD_LIBRARY_PATH QT_QPA_PLATFORM=offscreen "$dir/install/bin/zb_consumer" &&
            pkg-config --exists --print-errors $static "$pkg" --with-path="$prefix/lib/pkgconfig"
    } >"$dir.log" 2>&1 || rc=$?
    [ $rc -eq 0 ] || tail -n 30 "$dir.log" || true
    tally "consumer $pkg ($name)" "consumer-$name" $rc
}

# docs: the reference documentation of the Qt 6 build; Doxygen fails on any warning, an undocumented
# public symbol included.
docs() {
    local log="$BUILD/docs.log" rc=0
    say "docs"
    cmake --build "$BUILD/qt6" --target docs >"$log" 2>&1 || rc=$?
    [ $rc -eq 0 ] || grep -E 'error|warning' "$log" | head -n 40 || true
    tally "docs ($BUILD/qt6/docs/html/index.html)" docs $rc
}

# windows_syntax <name> <Qt include folder> <win32-g++ mkspec folder>: every source of the library, the
# theme and the Designer plugin compiled for Windows by MinGW against that Qt's headers, syntax and types
# only (nothing links), so that the Windows-only code is compiled too; generated headers come from the
# build <name>.
windows_syntax() {
    local name=$1 qt=$2 mkspec=$3 dir="$BUILD/$1" log="$BUILD/$1/windows.log" failed=() flags=() d f
    say "windows syntax $name"
    for d in "$qt"/*/; do flags+=(-isystem "$d"); done
    while IFS= read -r d; do flags+=(-I "$d"); done < <(find "$dir" -type d -path '*_autogen/include')
    : >"$log"
    for f in "$ROOT"/src/*.cpp "$ROOT"/theme/*.cpp "$ROOT"/designer/*.cpp; do
        x86_64-w64-mingw32-g++-posix -std=c++17 -fsyntax-only -Wall -Wextra -Woverloaded-virtual -Wshadow=local \
            -Wnon-virtual-dtor -Werror -DQT_NO_KEYWORDS -DZebGuiCore_EXPORTS -I"$ROOT/include" -I"$ROOT/src" \
            -I"$ROOT/theme" -I"$dir/src" -I"$dir/resource" -I"$dir/theme" "${flags[@]}" -isystem "$qt" \
            -isystem "$mkspec" "$f" >>"$log" 2>&1 || failed+=("${f#"$ROOT"/}")
    done
    [ ${#failed[@]} -eq 0 ] || grep -E 'error' "$log" | head -n 20 || true
    tally "windows syntax $name${failed[*]:+ (failing: ${failed[*]})}" "windows-$name" ${#failed[@]}
}

run_editor() {
    local editor="$BUILD/qt6/examples/editor/zb_editor"
    if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
        "$editor" "$@"
    else
        echo "no display: running the editor's scripted session"
        mkdir -p "$BUILD/screenshots"
        QT_QPA_PLATFORM=offscreen "$editor" --script --screenshot "$BUILD/screenshots/editor.png" "$@"
        echo "  $BUILD/screenshots/editor.png"
    fi
}

# The Python module installed for a build: <prefix>/lib/python3/dist-packages[-qt5].
python_dir() { echo "$PREFIX/lib/python3/dist-packages${1:-}"; }

run_python() {
    local example="$ROOT/examples/python/zb_example.py"
    if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
        PYTHONPATH="$(python_dir)" /usr/bin/python3 "$example" "$@"
    else
        echo "no display: running the Python example's scripted session"
        mkdir -p "$BUILD/screenshots"
        PYTHONPATH="$(python_dir)" QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="qt.qpa.*=false" /usr/bin/python3 "$example" \
            --screenshot "$BUILD/screenshots/python.png" "$@"
    fi
}

# python_installed <name> <suffix> <PyQt>: imports the installed module with no library path set.
python_installed() {
    local name=$1 suffix=$2 pyqt=$3
    local code="from $pyqt.QtWidgets import QApplication; from zebguicore import ZBWidget, ZBMessageBox
app = QApplication([]); ZBWidget().TitleBar()"
    local rc=0
    env -u LD_LIBRARY_PATH PYTHONPATH="$(python_dir "$suffix")" QT_QPA_PLATFORM=offscreen /usr/bin/python3 \
        -c "$code" || rc=$?
    tally "installed Python module ($name)" "python-$name" $rc
}

cmd_run() {
    install_missing
    configure_build qt6 -DCMAKE_INSTALL_PREFIX="$PREFIX"
    cmake --install "$BUILD/qt6" >/dev/null
    echo "installed into $PREFIX"
    if [ "${1:-}" = editor ]; then
        shift
        run_editor "$@"
        return
    fi
    if [ "${1:-}" = python ]; then
        shift
        run_python "$@"
        return
    fi
    local gallery="$BUILD/qt6/examples/gallery/zb_gallery"
    if [ ! -x "$gallery" ]; then
        echo "no gallery in this build yet"
        return 0
    fi
    if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
        "$gallery" "$@"
    else
        local shots="$BUILD/screenshots"
        echo "no display: running the screenshot tour"
        rm -rf "$shots"
        QT_QPA_PLATFORM=offscreen "$gallery" --tour "$shots" "$@"
        # One PNG per page, listed with full paths so that they can be opened straight away.
        ls -1 "$shots" | sed "s|^|  $shots/|"
    fi
}

cmd_test() {
    install_missing
    rm -rf "$PREFIX" "$PREFIX-static"
    configure_build qt6 -DCMAKE_INSTALL_PREFIX="$PREFIX"
    run_ctest qt6
    docs
    desktop_test qt6 --x11 --wayland
    windows_syntax qt6 /usr/include/x86_64-linux-gnu/qt6 /usr/lib/x86_64-linux-gnu/qt6/mkspecs/win32-g++
    cmake --install "$BUILD/qt6" >/dev/null

    configure_build qt5 -DCMAKE_INSTALL_PREFIX="$PREFIX"
    run_ctest qt5
    desktop_test qt5 --x11
    windows_syntax qt5 /usr/include/x86_64-linux-gnu/qt5 /usr/lib/x86_64-linux-gnu/qt5/mkspecs/win32-g++
    cmake --install "$BUILD/qt5" >/dev/null

    configure_build asan
    run_ctest asan

    # Clang with warnings as errors; the benchmark, the gallery and the Python module add nothing here
    # but build time.
    configure_build clang
    run_ctest clang

    # The static package: the libraries alone, checked through the consumer below; built with the
    # default generator.
    configure_build static -DCMAKE_INSTALL_PREFIX="$PREFIX-static"
    cmake --install "$BUILD/static" >/dev/null

    consumer qt6 ZebGuiCore 6 "$PREFIX"
    consumer qt5 ZebGuiCore-qt5 5 "$PREFIX"
    consumer static ZebGuiCore 6 "$PREFIX-static"
    python_installed qt6 "" PyQt6
    python_installed qt5 -qt5 PyQt5

    say "totals"
    echo "$TOTAL_PASSED passed, $TOTAL_FAILED failed"
    if [ ${#FAILED_CONFIGS[@]} -ne 0 ]; then
        echo "failing: ${FAILED_CONFIGS[*]}"
        return 1
    fi
}

case "${1:-}" in
run) shift; cmd_run "$@" ;;
test) shift; cmd_test "$@" ;;
*) echo "usage: $0 run|test" >&2; exit 2 ;;
esac
