#!/bin/sh
# Creates or updates a private Wine prefix for Ortelan, without prompts.
# A running Wine server of the prefix sees the change at once; a desktop
# already started keeps its display driver until the server ends.
#   wine-prefix.sh PREFIX null     tests: Wine's null display driver, no X
#   wine-prefix.sh PREFIX x11      the user's display
#   wine-prefix.sh PREFIX desktop  a virtual desktop (Xvfb screenshots)
# A third argument, win64, makes a 64-bit prefix for the x64 edition; the
# default is win32.
set -eu
prefix=$1
mode=${2:-x11}
arch=${3:-win32}

wine="$(dirname "$0")/wine.sh"

export WINEPREFIX="$prefix" WINEARCH="$arch" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    "$wine" wineboot -i </dev/null >/dev/null 2>&1
fi

# Wine draws the caption buttons with its Marlett symbol font, which Debian
# ships outside the prefix; without it they show as the letters "0 1 r".
marlett=/usr/share/wine/fonts/marlett.ttf
fonts="$WINEPREFIX/drive_c/windows/Fonts"
if [ -f "$marlett" ] && [ ! -f "$fonts/marlett.ttf" ]; then
    mkdir -p "$fonts"
    cp "$marlett" "$fonts/"
fi

reg=$(mktemp --suffix=.reg)
trap 'rm -f "$reg"' EXIT
{
    echo 'REGEDIT4'
    echo
    # The dialogs' font, mapped to an installed Japanese one.
    echo '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]'
    echo '"MS UI Gothic"="IPAPGothic"'
    echo
    echo '[HKEY_CURRENT_USER\Software\Wine\Drivers]'
    case $mode in
        null) echo '"Graphics"="null"' ;;
        *) echo '"Graphics"=-' ;;
    esac
    echo
    echo '[HKEY_CURRENT_USER\Software\Wine\Explorer]'
    case $mode in
        desktop) echo '"Desktop"="Default"' ;;
        *) echo '"Desktop"=-' ;;
    esac
    echo
    echo '[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]'
    echo '"Default"="1024x768"'
} >"$reg"
"$wine" regedit /S "$("$wine" winepath -w "$reg")" </dev/null >/dev/null 2>&1
