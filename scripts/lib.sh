# Shared steps of the run and test commands. Sourced, not run.

MORVANE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
MORVANE_JOBS=$(nproc 2>/dev/null || echo 2)
source "$MORVANE_ROOT/cmake/wine-env.sh"

MORVANE_PACKAGES=(
    cmake make g++ clang libclang-rt-14-dev libgtest-dev libgmock-dev googletest libbenchmark-dev
    g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 xvfb xauth x11-utils
    fonts-noto-cjk fonts-wine imagemagick xdotool locales libx11-dev procps icoutils python3
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

# MORVANE_WERROR=ON|OFF, when set, turns warnings into errors (cmake option).
configure_and_build() { # build-dir, cmake args...
    local dir=$1
    shift
    cmake -S "$MORVANE_ROOT" -B "$dir" "$@" ${MORVANE_WERROR:+-DMORVANE_WERROR=$MORVANE_WERROR} \
        >"$dir.configure.log" 2>&1 ||
        { cat "$dir.configure.log"; return 1; }
    cmake --build "$dir" -j "$MORVANE_JOBS"
}

windows_build_dir() { echo "$MORVANE_ROOT/build/win"; }

build_windows() {
    mkdir -p "$MORVANE_ROOT/build"
    configure_and_build "$(windows_build_dir)" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$MORVANE_ROOT/cmake/toolchain-mingw64.cmake"
}

# Starts Xvfb on a display it picks itself and exports DISPLAY; stop_xvfb
# ends it. Xvfb names the display once it accepts connections (-displayfd),
# so two scripts starting at once never race for the same number.
start_xvfb() {
    local announce
    announce=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$announce" >/dev/null 2>&1 &
    MORVANE_XVFB_PID=$!
    if ! wait_until 30 xvfb_announced "$announce"; then
        rm -f "$announce"
        echo "Xvfb did not start" >&2
        stop_xvfb
        return 1
    fi
    export DISPLAY=":$(head -1 "$announce")"
    rm -f "$announce"
}

# The display number, written whole (newline-ended) by a live Xvfb.
xvfb_announced() { # file
    kill -0 "$MORVANE_XVFB_PID" || return 2
    [ -s "$1" ] && [ -z "$(tail -c 1 "$1")" ]
}

stop_xvfb() {
    [ -n "${MORVANE_XVFB_PID:-}" ] && kill "$MORVANE_XVFB_PID" 2>/dev/null || true
    MORVANE_XVFB_PID=""
}

# The Wine environment (cmake/wine-env.sh) with the prefix of a Windows build
# folder, the one cmake/wine-run.sh uses for it.
wine_env() { # build-dir
    morvane_wine_env "$1/wineprefix"
}

stop_wineserver() { # build-dir
    WINEPREFIX="$1/wineprefix" wineserver -k 2>/dev/null || true
}
