#!/usr/bin/env bash
# Builds the Debian package of a release build, unpacks it into a scratch root
# with dpkg-deb -x and checks what a user gets: the file list, the control
# fields, the validators, the man page against --help, and lintian.
#   check_package.sh SOURCE BUILD GENERATOR SANITIZE GUI VERSION [BUILD_TYPE]
#
# Lintian (Debian 12) reports neither errors nor warnings; an error fails the
# test. Accepted, shown only with -I: hardening-no-bindnow and
# hardening-no-fortify-functions (the release flags are CMake's own) and
# binary-has-unneeded-section .comment (strip keeps the compiler's note).
set -euo pipefail
src=$1 build=$2 generator=$3 sanitize=$4 gui=$5 version=$6 build_type=${7:-}
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
is_on() { [[ "${1^^}" =~ ^(ON|1|TRUE|YES|Y)$ ]]; }

# A sanitized or debug build gets a release build beside it, kept between runs.
release=$build
if [ "$build_type" != "Release" ] || is_on "$sanitize"; then
    release=$build/package-release
    cmake -S "$src" -B "$release" -G "$generator" -DCMAKE_BUILD_TYPE=Release \
        -DVORLIX_SANITIZE=OFF -DVORLIX_BUILD_TESTS=OFF -DVORLIX_BUILD_GUI="$gui" >/dev/null
    cmake --build "$release" >/dev/null
fi
rm -f "$release"/vorlix_*.deb
(cd "$release" && cpack -G DEB >/dev/null) || fail "cpack"
deb=$(echo "$release"/vorlix_*.deb)
[ -f "$deb" ] || fail "no package in $release"
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
dpkg-deb -x "$deb" "$root"

# The file list, exactly.
id=org.vorlix.vorlix
expected=(usr/bin/vorlix-cli usr/share/man/man1/vorlix-cli.1.gz
    usr/share/doc/vorlix/copyright usr/share/doc/vorlix/changelog.gz)
if is_on "$gui"; then
    expected+=(usr/bin/vorlix usr/share/man/man1/vorlix.1.gz
        usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml)
    for size in 16 22 24 32 48 64 128 256; do
        expected+=(usr/share/icons/hicolor/${size}x$size/apps/$id.png)
    done
fi
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$root" && find . ! -type d | sed 's|^\./||' | sort) ||
    fail "file list (< expected, > packaged)"

# Control fields: dependencies from dpkg-shlibdeps, a maintainer, a description.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
needed=(libc6 libstdc++6 libsqlite3-0 libmdb3)
is_on "$gui" && needed+=(libqt6widgets6 libqt6gui6 libqt6core6)
for package in "${needed[@]}"; do
    [[ ", $depends," == *", $package "* ]] || fail "Depends lacks $package"
done
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version"
dpkg-deb -f "$deb" Maintainer | grep -q '<.*@.*>' || fail "maintainer"
[ "$(dpkg-deb -f "$deb" Description | wc -l)" -ge 3 ] || fail "description"

# Every program says its version and starts without a display for it.
for program in "$root"/usr/bin/*; do
    [ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$program" --version)" = "Vorlix $version" ] ||
        fail "$program --version"
done

# The validators are silent.
check_silent() {
    local output
    output=$("$@" 2>&1) || fail "$* exited with $?: $output"
    [ -z "$output" ] || fail "$*: $output"
}
for page in "$root"/usr/share/man/man1/*.gz; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$page: $warnings"
done
if is_on "$gui"; then
    check_silent desktop-file-validate "$root/usr/share/applications/$id.desktop"
    # Pedantic hints too: the metadata meets them all.
    output=$(appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/$id.metainfo.xml" 2>&1) &&
        ! grep -qE '^[EWIP]: ' <<<"$output" || fail "appstreamcli validate: $output"
    # The theme's folders name the sizes of the images in them.
    for png in "$root"/usr/share/icons/hicolor/*/apps/*.png; do
        size=$(basename "$(dirname "$(dirname "$png")")")
        read -r w0 w1 w2 w3 h0 h1 h2 h3 < <(od -An -tu1 -j16 -N8 "$png")
        [ "$(((w0 << 24 | w1 << 16 | w2 << 8 | w3)))x$((h0 << 24 | h1 << 16 | h2 << 8 | h3))" = "$size" ] ||
            fail "$png is not $size"
    done
fi

# The manual names every command and option that --help names.
manual=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$root/usr/share/man/man1/vorlix-cli.1.gz" 2>/dev/null)
help=$("$root/usr/bin/vorlix-cli" --help)
for verb in $(sed -n '/^commands:/,/^options:/s/^  \([a-z]*\) .*/\1/p' <<<"$help"); do
    grep -q "vorlix-cli .*$verb\b" <<<"$manual" || fail "manual lacks command $verb"
done
for option in $(grep -o -- '--[a-z-]*' <<<"$help" | sort -u); do
    grep -q -- "$option\b" <<<"$manual" || fail "manual lacks option $option"
done

# Lintian: warnings are shown, errors fail.
lintian_output=$(lintian --tag-display-limit 0 "$deb" 2>&1) || true
echo "$lintian_output"
if grep -q '^E:' <<<"$lintian_output"; then
    fail "lintian reports errors"
fi
echo "package checks passed"
