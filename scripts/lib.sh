# Shared steps of the run and test commands. Sourced, not run.

MORVANE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
MORVANE_JOBS=$(nproc 2>/dev/null || echo 2)

MORVANE_PACKAGES=(
    cmake make g++ clang libclang-rt-14-dev libgtest-dev libgmock-dev googletest libbenchmark-dev
    g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 xvfb xauth x11-utils
    fonts-noto-cjk imagemagick xdotool locales libx11-dev procps
)

log() { printf "\n==> %s [%s]\n" "$*" "$(date +%T)"; }

# Polls COMMAND... every 0.2 s until it succeeds or SECONDS pass. The command
# runs anew each time: pass a function, never a $(...) evaluated once.
wait_until() { # seconds command...
    local deadline=$((SECONDS + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.2
    done
}

# Installs what is missing (Debian 12). Needs root, as on CI.
install_dependencies() {
    local missing=()
    for p in "${MORVANE_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        log "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -ne 0 ] && sudo=sudo
        $sudo apt-get update -q
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends \
            "${missing[@]}"
    fi
    # Japanese locale: Wine's ANSI code page 932 and non-ASCII arguments.
    if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
        log "Generating the ja_JP.UTF-8 locale"
        local sudo=""
        [ "$(id -u)" -ne 0 ] && sudo=sudo
        grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null ||
            echo 'ja_JP.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
        $sudo locale-gen >/dev/null
    fi
}

configure_and_build() { # build-dir, cmake args...
    local dir=$1
    shift
    cmake -S "$MORVANE_ROOT" -B "$dir" "$@" >"$dir.configure.log" 2>&1 ||
        { cat "$dir.configure.log"; return 1; }
    cmake --build "$dir" -j "$MORVANE_JOBS"
}

windows_build_dir() { echo "$MORVANE_ROOT/build/win"; }

build_windows() {
    mkdir -p "$MORVANE_ROOT/build"
    configure_and_build "$(windows_build_dir)" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$MORVANE_ROOT/cmake/toolchain-mingw64.cmake"
}

# Starts Xvfb on a free display (first to last, 90 to 199 by default) and
# exports DISPLAY; stop_xvfb ends it.
start_xvfb() { # [first last]
    local n
    for n in $(seq "${1:-90}" "${2:-199}"); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
    done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    MORVANE_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 100); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "Xvfb did not start on $DISPLAY" >&2
    return 1
}

stop_xvfb() {
    [ -n "${MORVANE_XVFB_PID:-}" ] && kill "$MORVANE_XVFB_PID" 2>/dev/null || true
    MORVANE_XVFB_PID=""
}

# The wine environment of a Windows build folder (as cmake/wine-run.sh sets it).
wine_env() {
    export WINEPREFIX="$1/wineprefix" WINEARCH=win64 WINEDEBUG=-all LC_ALL=ja_JP.UTF-8
    export WINEDLLOVERRIDES="mscoree,mshtml="
}

stop_wineserver() { # build-dir
    WINEPREFIX="$1/wineprefix" wineserver -k 2>/dev/null || true
}
