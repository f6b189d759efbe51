# The Wine environment of every MorvaneX run under Wine: 64-bit, quiet,
# Japanese locale (ANSI code page 932), no .NET or Gecko installer prompts,
# and one virtual desktop size. Sourced by cmake/wine-run.sh (CTest) and
# scripts/lib.sh (the run, test and bench scripts), not run.

# Programs share one Wine desktop of this size at the X root's top-left, so
# Wine's screen coordinates are X coordinates (xdotool) and the screenshots
# crop to it. The end-to-end checks expect this size.
MORVANE_WINE_DESKTOP=1024x768

morvane_wine_env() { # prefix
    export WINEPREFIX=$1
    export WINEARCH=win64
    export WINEDEBUG=${WINEDEBUG:--all}
    export LC_ALL=${MORVANE_WINE_LOCALE:-ja_JP.UTF-8}
    export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
}

# Turns the virtual desktop on or off in the current prefix. Without a window
# manager (Xvfb) it must be on: Wine then draws the title bars itself, and no
# longer waits about 2 s for a window manager whenever a window is hidden. A
# running wineserver keeps the old setting until it is restarted.
morvane_wine_desktop() { # on|off
    local name=
    [ "$1" = on ] && name=Default
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d "$name" /f </dev/null >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$MORVANE_WINE_DESKTOP" /f \
        </dev/null >/dev/null 2>&1 || true
}

# Wine draws the title bar buttons with the Marlett font; without it they
# show as the letters "0 1 r". Debian's fonts-wine has it where this Wine
# does not look, so the prefix gets it in its own Fonts folder, which Wine
# reads at each start.
morvane_wine_fonts() {
    local font=/usr/share/wine/fonts/marlett.ttf fonts="$WINEPREFIX/drive_c/windows/Fonts"
    [ -f "$font" ] && [ -d "$fonts" ] && [ ! -e "$fonts/marlett.ttf" ] && ln -s "$font" "$fonts/marlett.ttf"
    return 0
}
