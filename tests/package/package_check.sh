#!/bin/sh
# The installed game: installs the build into a temporary prefix (or, with
# "deb", builds the Debian package and unpacks it with dpkg -x), then checks
# the list of installed files, runs the installed program's --version and
# --help from an empty folder, and validates the desktop entry, the metadata,
# the icons and the manual page.
# Usage: package_check.sh install|deb <build dir> <source dir> <app id> <version>
mode="$1" build="$2" source="$3" id="$4" version="$5"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "package: $*" >&2; status=1; }

if [ "$mode" = deb ]; then
    deb="$build/halvane_${version}_amd64.deb"
    rm -f "$deb"
    (cd "$build" && cpack -G DEB >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log" >&2; exit 1; }
    [ -f "$deb" ] || { fail "cpack made no $deb"; ls "$build"/*.deb >&2; exit 1; }
    depends=$(dpkg-deb -f "$deb" Depends)
    echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes, Depends: $depends"
    echo "$depends" | grep -q 'libsdl2-2.0-0' || fail "Depends lacks libsdl2-2.0-0: $depends"
    echo "$depends" | grep -q 'libc6' || fail "Depends lacks libc6: $depends"
    [ "$(dpkg-deb -f "$deb" Package)" = halvane ] || fail "package name"
    [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version"
    [ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "package section"
    dpkg -x "$deb" "$work/root" || exit 1
    prefix="$work/root/usr"
    # Nothing outside /usr.
    extra=$(cd "$work/root" && ls -A | grep -vx usr)
    [ -z "$extra" ] || fail "files outside /usr: $extra"
else
    prefix="$work/prefix"
    cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
        { cat "$work/install.log" >&2; exit 1; }
fi

# The files expected: the program, the shipped files as the source tree has
# them (a best score left in Data/ is not shipped), the launcher, metadata,
# manual page and the icon at every size.
{
    echo bin/halvane
    for folder in Data Graphics Sound; do
        [ -d "$source/$folder" ] || continue
        (cd "$source" && find "$folder" -type f ! -name 'hs.dat*') | sed 's|^|share/halvane/|'
    done
    echo "share/applications/$id.desktop"
    echo "share/metainfo/$id.metainfo.xml"
    echo "share/man/man6/halvane.6"
    echo "share/icons/hicolor/scalable/apps/$id.svg"
    for size in 16 22 24 32 48 64 128 256; do
        echo "share/icons/hicolor/${size}x${size}/apps/$id.png"
    done
} | sort >"$work/expected"
(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | grep -v '^share/man/man6/halvane.6.gz$' | sort) >"$work/got"
# The package may carry the manual page compressed.
[ -f "$prefix/share/man/man6/halvane.6.gz" ] && echo share/man/man6/halvane.6 >>"$work/got" &&
    sort -o "$work/got" "$work/got"
if ! cmp -s "$work/expected" "$work/got"; then
    fail "installed files differ from the expected list:"
    diff "$work/expected" "$work/got" >&2
fi
# The shipped files are the source's, byte for byte.
for folder in Data Graphics Sound; do
    [ -d "$source/$folder" ] || continue
    for f in $(cd "$source" && find "$folder" -type f ! -name 'hs.dat*'); do
        cmp -s "$source/$f" "$prefix/share/halvane/$f" || fail "share/halvane/$f differs"
    done
done

# The installed program, from an empty folder, with a player's folder that
# does not exist yet: --help names the installed files and that folder, and
# neither answer creates anything.
mkdir "$work/empty"
cd "$work/empty" || exit 1
got=$("$prefix/bin/halvane" --version)
[ "$got" = "halvane $version" ] || fail "--version said '$got'"
XDG_DATA_HOME="$work/xdg" "$prefix/bin/halvane" --help >"$work/help" 2>"$work/help.err" ||
    fail "--help exit code $?"
[ -s "$work/help.err" ] && fail "--help wrote to stderr: $(cat "$work/help.err")"
grep -q "^Usage: halvane \[OPTION\]" "$work/help" || fail "--help lacks the usage"
# dpkg -x keeps the links it unpacks; compare the real folder.
shipped=$(cd "$prefix/share/halvane" && pwd -P)
grep -qF "the game's own in $shipped;" "$work/help" || fail "--help does not name $shipped: $(tail -3 "$work/help")"
grep -qF "in $work/xdg/halvane." "$work/help" || fail "--help does not name the player's folder"
[ -e "$work/xdg" ] && fail "--help made the player's folder"
[ -z "$(ls -A "$work/empty")" ] || fail "files left in the working folder"
cd / || exit 1

desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop entry refused"
grep -qx "Icon=$id" "$prefix/share/applications/$id.desktop" || fail "desktop entry's icon"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >"$work/as.log" 2>&1 ||
    { cat "$work/as.log" >&2; fail "metadata refused"; }
grep -q "<id>$id</id>" "$prefix/share/metainfo/$id.metainfo.xml" || fail "metadata id"
grep -q "<release version=\"$version\"" "$prefix/share/metainfo/$id.metainfo.xml" ||
    fail "metadata lacks release $version"

# Each PNG: the signature and an IHDR of its folder's size, 8-bit RGBA.
for size in 16 22 24 32 48 64 128 256; do
    png="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
    header=$(od -An -tx1 -N26 "$png" | tr -d ' \n')
    w=$(printf '%08x' "$size")
    [ "$header" = "89504e470d0a1a0a0000000d49484452${w}${w}0806" ] || fail "$png header $header"
done
grep -q '<svg ' "$prefix/share/icons/hicolor/scalable/apps/$id.svg" || fail "icon SVG"
man6="$prefix/share/man/man6/halvane.6"
[ -f "$man6" ] || man6="$man6.gz"
{ [ "${man6%.gz}" = "$man6" ] && cat "$man6" || gzip -dc "$man6"; } |
    grep -q "^\.TH HALVANE 6 .*\"halvane $version\"" || fail "manual page header"
exit $status
