#!/bin/sh
# Writes the installer's two file lists from the program folder: File lines
# that install each file in its sub-folder, and Delete and RMDir lines that
# remove exactly those files and folders again. printf, not echo: a sh echo
# reads "\f" in "guide\fonts" as a form feed.
# Usage: nsis-lists.sh FOLDER INSTALL_LIST UNINSTALL_LIST
set -eu
folder=$1
install_list=$2
uninstall_list=$3
windows_path() { printf '%s' "$1" | sed 's|^\./||; s|/|\\|g'; }

: >"$install_list"
: >"$uninstall_list"
(cd "$folder" && find . -type d | sort) | while read -r dir; do
    files=$(cd "$folder" && find "$dir" -maxdepth 1 -type f | sort)
    [ -n "$files" ] || continue
    if [ "$dir" = . ]; then
        echo 'SetOutPath "$INSTDIR"' >>"$install_list"
    else
        printf 'SetOutPath "$INSTDIR\\%s"\n' "$(windows_path "$dir")" >>"$install_list"
    fi
    for file in $files; do
        printf 'File "%s/%s"\n' "$(cd "$folder" && pwd)" "${file#./}" >>"$install_list"
        printf 'Delete "$INSTDIR\\%s"\n' "$(windows_path "$file")" >>"$uninstall_list"
    done
done
echo 'SetOutPath "$INSTDIR"' >>"$install_list"
# Folders deepest first, so that each is empty when it goes.
(cd "$folder" && find . -mindepth 1 -type d | sort -r) | while read -r dir; do
    printf 'RMDir "$INSTDIR\\%s"\n' "$(windows_path "$dir")" >>"$uninstall_list"
done
