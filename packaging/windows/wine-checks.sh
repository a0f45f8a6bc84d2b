#!/bin/sh
# What the Windows program needs of its own, checked under wine in a brand-new
# prefix with nothing of the build machine on its path:
#   folder     the portable zip, unpacked into a folder with a Thai name,
#              starts and shows its title, ends when its window is closed,
#              writes no file or key, and breaks Thai lines between words
#              there (libthai finds its dictionary by the folder's short name
#              in this English-locale prefix);
#   installer  "/S" installs for all users, the program starts from Program
#              Files, a second install replaces the first, closing the
#              installer at its first page leaves an installed copy whole,
#              ".kvt" files open with the program, "/S" uninstalls every
#              file, shortcut and registry entry, the file type's too, and on
#              Windows 7 the installer installs nothing and fails.
# Usage: wine-checks.sh folder|installer BUILD_DIR VERSION APP_ID THAI_NAME
# (needs DISPLAY), as packaging/windows/CMakeLists.txt passes them.
set -eu
mode=$1
build=$(cd "$2" && pwd)
version=$3
app_id=$4
thai_name=$5
wine=/usr/lib/wine/wine64
title="โปรแกรมแปลผลการประเมินพฤติกรรม KVT "
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\'"$app_id"
extension_key='HKLM\Software\Classes\.kvt'
progid="$app_id.class"
progid_key='HKLM\Software\Classes\'"$progid"
export LC_ALL=C.UTF-8
# In the test suite's side lane, on that lane's display.
if [ "${KVT_WINE_LANE:-main}" = side ]; then
    export DISPLAY="${KVT_SIDE_DISPLAY:-}"
fi

fail() { echo "FAIL: $*" >&2; exit 1; }

export WINEPREFIX="$build/wine-clean-$mode"
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEPATH QT_PLUGIN_PATH QT_QPA_PLATFORM QT_QPA_PLATFORM_PLUGIN_PATH
rm -rf "$WINEPREFIX"
$wine wineboot --init
# wine reports Windows 7 unless told otherwise; the program needs Windows 10.
$wine winecfg -v win10
/usr/lib/wine/wineserver -w
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
drive_c="$WINEPREFIX/drive_c"

# The X window whose title bar reads exactly $title, or nothing.
window_titled() {
    for id in $(xprop -root _NET_CLIENT_LIST | grep -o '0x[0-9a-f]*'); do
        if [ "$(xprop -id "$id" -notype _NET_WM_NAME)" = "_NET_WM_NAME = \"$title\"" ]; then
            echo "$id"
            return
        fi
    done
}

# Starts the program, waits for its welcome screen, closes that window as a
# user would, and expects the program to end by itself with status 0.
start_and_close() {
    (cd "$(dirname "$1")" && exec $wine "$1") &
    pid=$!
    id=""
    for _ in $(seq 600); do
        id=$(window_titled)
        [ -n "$id" ] && break
        kill -0 "$pid" 2>/dev/null || fail "$1 ended before showing its window"
        sleep 0.1
    done
    [ -n "$id" ] || { kill "$pid"; fail "no window titled \"$title\" from $1"; }
    echo "window $id: \"$title\""
    sleep 1
    wmctrl -i -c "$id"
    status=0
    wait "$pid" || status=$?
    [ "$status" -eq 0 ] || fail "$1 ended with status $status"
}

snapshot() {
    (cd "$drive_c" && find . -path ./windows -prune -o -path './users/*/AppData/Local/Temp' -prune \
        -o -path './users/*/Temp' -prune -o -print | sort)
}

case "$mode" in
folder)
    where="$drive_c/แฟ้มโปรแกรมของครู"
    mkdir -p "$where"
    unzip -q "$build/kvt-$version-windows-x64.zip" -d "$where"
    folder="$where/kvt-$version"
    before=$(cd "$folder" && find . -type f -exec sha256sum {} + | sort)
    registry_before=$(cat "$WINEPREFIX/user.reg" "$WINEPREFIX/system.reg" | grep -ci 'kvt\|qtproject' || true)
    start_and_close "$folder/kvt.exe"
    after=$(cd "$folder" && find . -type f -exec sha256sum {} + | sort)
    [ "$before" = "$after" ] || fail "the program changed its folder"
    /usr/lib/wine/wineserver -w
    registry_after=$(cat "$WINEPREFIX/user.reg" "$WINEPREFIX/system.reg" | grep -ci 'kvt\|qtproject' || true)
    [ "$registry_before" = "$registry_after" ] || fail "the program wrote to the registry"
    [ -f "$folder/guide/kvt-guide.html" ] || fail "the folder lacks the staff's guide"
    # The wrapped captions' line breaks, checked from this folder by the
    # caption test put beside the program (with Qt's test library).
    qt_bin=$(sed -n 's|^Qt6Core_DIR:PATH=\(.*\)/lib/cmake/Qt6Core$|\1/bin|p' "$build/CMakeCache.txt")
    cp "$build/tests/common/tst_captionfit.exe" "$qt_bin/Qt6Test.dll" "$folder/"
    (cd "$folder" && $wine ./tst_captionfit.exe wrappedCaptionsBreakBetweenWords) \
        || fail "Thai lines break elsewhere than on Linux when run from $folder"
    echo "folder: starts from $folder, changes nothing, breaks Thai lines between words"
    ;;
installer)
    setup="$build/kvt-$version-setup.exe"
    before=$(snapshot)
    $wine "$setup" /S
    /usr/lib/wine/wineserver -w
    installed="$drive_c/Program Files/KVT"
    [ -f "$installed/kvt.exe" ] || fail "kvt.exe not under Program Files"
    [ -f "$installed/platforms/qwindows.dll" ] || fail "the platform plugin is missing"
    [ -f "$installed/Qt6PrintSupport.dll" ] || fail "the print support (Qt6PrintSupport.dll) is missing"
    menu="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/$thai_name"
    [ -f "$menu/$thai_name.lnk" ] || fail "no Start-menu shortcut"
    [ -f "$menu/คู่มือการใช้งาน.lnk" ] || fail "no Start-menu shortcut to the guide"
    [ -f "$drive_c/users/Public/Desktop/$thai_name.lnk" ] || fail "no desktop shortcut"
    # Exported as a file: the console would turn the Thai name into "?".
    $wine reg export "$uninstall_key" "$WINEPREFIX/entry.reg" /reg:64 /y >/dev/null
    entry=$(iconv -f UTF-16 -t UTF-8 "$WINEPREFIX/entry.reg" | tr -d '\r')
    for value in "\"DisplayName\"=\"$thai_name\"" "\"DisplayVersion\"=\"$version\"" \
        "\"Publisher\"=\"" "\"DisplayIcon\"=\"C:\\\\Program Files\\\\KVT\\\\kvt.exe,0\"" \
        "\"EstimatedSize\"=dword:" "\"UninstallString\"="; do
        printf "%s\n" "$entry" | grep -qF "$value" || fail "the uninstall entry lacks \"$value\": $entry"
    done
    # The class file's type: its program, icon and Thai name.
    registered() { $wine reg query "$1" /ve /reg:64 2>/dev/null | tr -d '\r' | grep -F "REG_SZ    $2" >/dev/null; }
    registered "$extension_key" "$progid" || fail ".kvt is not registered as $progid"
    registered "$progid_key\\shell\\open\\command" '"C:\Program Files\KVT\kvt.exe" "%1"' \
        || fail "$progid does not open with kvt.exe"
    registered "$progid_key\\DefaultIcon" 'C:\Program Files\KVT\kvt.exe,0' || fail "$progid has not the program's icon"
    $wine reg export "$progid_key" "$WINEPREFIX/type.reg" /reg:64 /y >/dev/null
    iconv -f UTF-16 -t UTF-8 "$WINEPREFIX/type.reg" | grep -qF '@="ไฟล์รายชื่อนักเรียนทั้งห้อง (KVT)"' \
        || fail "$progid has not its Thai name"
    start_and_close "$installed/kvt.exe"

    # Closed at its first page over an installed copy: nothing changes.
    installed_files=$(cd "$installed" && find . -type f | sort)
    $wine "$setup" &
    setup_pid=$!
    id=""
    for _ in $(seq 300); do
        id=$(xdotool search --name "^ติดตั้งโปรแกรมแปลผล" 2>/dev/null | head -n 1 || true)
        [ -n "$id" ] && break
        sleep 0.1
    done
    [ -n "$id" ] || fail "the installer showed no window"
    sleep 1
    wmctrl -i -c "$id"
    # The question whether to leave: yes.
    sleep 1
    xdotool key Return
    for _ in $(seq 100); do kill -0 "$setup_pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$setup_pid" 2>/dev/null && fail "the installer did not end when closed at its first page"
    /usr/lib/wine/wineserver -w
    [ "$(cd "$installed" && find . -type f | sort)" = "$installed_files" ] \
        || fail "closing the installer at its first page changed the installed copy"
    $wine reg query "$uninstall_key" /reg:64 >/dev/null 2>&1 \
        || fail "closing the installer at its first page removed the uninstall entry"

    # Over an earlier copy: the earlier one goes, the new one stays whole.
    $wine "$setup" /S
    /usr/lib/wine/wineserver -w
    expected=$( (cd "$build/stage/kvt-$version" && find . -type f; echo ./uninstall.exe) | sort)
    [ "$(cd "$installed" && find . -type f | sort)" = "$expected" ] \
        || fail "a second install does not hold exactly the program's files"

    $wine "C:\\Program Files\\KVT\\uninstall.exe" /S
    /usr/lib/wine/wineserver -w
    # The uninstaller runs a copy of itself from the temporary folder.
    for _ in $(seq 100); do [ -e "$installed" ] || break; sleep 0.1; done
    [ ! -e "$installed" ] || fail "files left: $(cd "$installed" && find . | head)"
    if $wine reg query "$uninstall_key" /reg:64 >/dev/null 2>&1; then
        fail "the uninstall entry is still registered"
    fi
    for key in "$extension_key" "$progid_key"; do
        if $wine reg query "$key" /reg:64 >/dev/null 2>&1; then
            fail "$key is still registered"
        fi
    done
    after=$(snapshot)
    left=$(printf '%s\n' "$before" "$after" | sort | uniq -u)
    [ -z "$left" ] || fail "the install left behind: $left"
    # On Windows older than the program needs: nothing installed, status not 0.
    $wine winecfg -v win7
    /usr/lib/wine/wineserver -w
    status=0
    $wine "$setup" /S || status=$?
    /usr/lib/wine/wineserver -w
    [ "$status" -ne 0 ] || fail "on Windows 7 the installer reported success"
    [ ! -e "$installed" ] || fail "on Windows 7 the installer installed files"
    if $wine reg query "$uninstall_key" /reg:64 >/dev/null 2>&1 || $wine reg query "$extension_key" /reg:64 >/dev/null 2>&1; then
        fail "on Windows 7 the installer registered the program"
    fi
    echo "installer: installs, opens .kvt files, starts, survives a cancel, installs over itself, uninstalls without a trace, refuses Windows 7"
    ;;
*)
    fail "unknown check $mode"
    ;;
esac
