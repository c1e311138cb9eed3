# Shared by scripts/run and scripts/test: installs what the build needs, builds
# both configurations, and keeps all Wine state (prefix, home with its
# Recycle Bin, display) inside the build tree.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build="${RETRACE_BUILD_DIR:-$root/build}"
packages=(cmake make g++ googletest libbenchmark-dev g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
          binutils-mingw-w64-x86-64 wine wine64 xvfb x11-utils imagemagick nsis)
# The sanitized configuration: clang with its sanitizer and libFuzzer runtimes.
packages+=(clang libclang-rt-dev)

started_xvfb=""

install_dependencies() {
    local missing=()
    for package in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return
    echo "Installing ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "Run as root to install missing packages: ${missing[*]}" >&2
        exit 1
    fi
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

build_all() {
    cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build/native" --parallel "$(nproc)"
    configure_windows
    cmake --build "$build/windows" --parallel "$(nproc)"
}

configure_windows() {
    cmake -S "$root" -B "$build/windows" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
}

# The native tests again under AddressSanitizer and UndefinedBehaviorSanitizer,
# and the fuzz targets, built with clang.
build_sanitized() {
    CC=clang CXX=clang++ cmake -S "$root" -B "$build/native-sanitized" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DRETRACE_SANITIZE=ON >/dev/null
    cmake --build "$build/native-sanitized" --parallel "$(nproc)"
}

# Gives Wine a display: the caller's, or an Xvfb of our own when there is none.
start_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return; fi
    local number=90
    while [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ]; do number=$((number + 1)); done
    Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp >"$build/xvfb.log" 2>&1 &
    started_xvfb=$!
    export DISPLAY=":$number"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return; sleep 0.1; done
    echo "Xvfb did not start; see $build/xvfb.log" >&2
    exit 1
}

# An isolated prefix in the build tree (build/wine, or the one named) whose
# programs all share one virtual desktop with a taskbar, so the notification
# area exists and every process finds the others' windows.
prepare_wine() {
    export WINEPREFIX="${1:-$build/wine}" HOME="$build/home" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    export XDG_DATA_HOME="$HOME/.local/share"
    mkdir -p "$HOME"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Making the Wine prefix in $WINEPREFIX"
        wineboot -i >"$build/wineboot.log" 2>&1
    fi
    wineserver -p 2>/dev/null || true  # one may run already
    quiet_wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f
    quiet_wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1024x768 /f
}

# Runs a Wine command with its chatter in a log file rather than on a pipe.
quiet_wine() {
    wine "$@" >>"$build/wine.log" 2>&1 </dev/null
}

install_settings_key() {
    quiet_wine regedit /S "$(windows_path "$root/res/install/defaults.reg")"
}

windows_path() {
    echo "Z:${1//\//\\}"
}

stop_started() {
    for prefix in "$build/wine-restart" "${WINEPREFIX:-}"; do
        [ -n "$prefix" ] && WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
    done
    [ -n "$started_xvfb" ] && kill "$started_xvfb" 2>/dev/null || true
}
