#!/usr/bin/env bash
# Builds, for the web page's schedule module, the libraries the schedules are read and written
# with — zlib (and its minizip), expat and libxlsxwriter — from Debian's source packages, with
# emscripten, into build/web-deps/{include,lib}. The sources come through `apt-get source` with a
# deb-src line of the mirror this machine already uses, in an apt list of this folder's own (the
# system's lists are not touched). Done once: a second run finds the libraries built.
set -euo pipefail
cd "$(dirname "$0")/.."

deps="$(pwd)/build/web-deps"
if [ -f "$deps/lib/libxlsxwriter.a" ] && [ -f "$deps/lib/libexpat.a" ] && [ -f "$deps/lib/libminizip.a" ]; then
    exit 0
fi
bash tools/deps.sh --web
command -v dpkg-source >/dev/null || bash tools/deps.sh
export NODE_PATH=/usr/share/nodejs

# The mirror of the system's own list, for sources.
mirror="$(grep -rhoE '(URIs:|deb) +https?://[^ ]*debian[^ ]*' /etc/apt/sources.list /etc/apt/sources.list.d/ 2>/dev/null |
    grep -v security | head -1 | awk '{print $2}' || true)"
suite="$(. /etc/os-release && echo "$VERSION_CODENAME")"
apt_dir="$deps/apt"
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$deps/src" "$deps/include/minizip" "$deps/lib"
echo "deb-src ${mirror:-http://deb.debian.org/debian} ${suite:-bookworm} main" >"$apt_dir/sources.list"
apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o Dir::Etc::SourceParts=/dev/null
    -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache" -o APT::Sandbox::User=root)
apt-get "${apt_options[@]}" update -qq
(cd "$deps/src" && apt-get "${apt_options[@]}" source -qq zlib expat libxlsxwriter >/dev/null 2>&1)

src="$deps/src"
zlib="$(ls -d "$src"/zlib-*/ | head -1)"
expat="$(ls -d "$src"/expat-*/expat | head -1)"
xlsx="$(ls -d "$src"/libxlsxwriter-*/ | head -1)"
flags=(-Os -fPIC -w)
build="$deps/objects"
rm -rf "$build" && mkdir -p "$build"/{zlib,minizip,expat,xlsx}

# zlib, and minizip from its contrib folder (as Debian builds libminizip).
for file in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast inflate inftrees trees \
    uncompr zutil; do
    emcc "${flags[@]}" -c "$zlib/$file.c" -o "$build/zlib/$file.o"
done
emar rcs "$deps/lib/libz.a" "$build"/zlib/*.o
cp "$zlib"/zlib.h "$zlib"/zconf.h "$deps/include/"
for file in ioapi unzip zip; do
    emcc "${flags[@]}" -I"$zlib" -DIOAPI_NO_64 -c "$zlib/contrib/minizip/$file.c" -o "$build/minizip/$file.o"
done
emar rcs "$deps/lib/libminizip.a" "$build"/minizip/*.o
cp "$zlib"/contrib/minizip/{ioapi.h,unzip.h,zip.h,crypt.h} "$deps/include/minizip/"

# expat, with its configuration written here: the features Debian builds it with (DTD, namespaces,
# the billion-laughs protection), "1" where the sources test the value; the hash salt from
# /dev/urandom, which the module's file system takes from the browser's random source.
cat >"$build/expat/expat_config.h" <<'CONFIG'
#define BYTEORDER 1234
#define HAVE_MEMMOVE 1
#define XML_DEV_URANDOM 1
#define XML_CONTEXT_BYTES 1024
#define XML_DTD 1
#define XML_NS 1
#define XML_GE 1
CONFIG
for file in xmlparse xmlrole xmltok; do
    emcc "${flags[@]}" -DHAVE_EXPAT_CONFIG_H -I"$build/expat" -I"$expat/lib" -c "$expat/lib/$file.c" \
        -o "$build/expat/$file.o"
done
emar rcs "$deps/lib/libexpat.a" "$build"/expat/*.o
cp "$expat"/lib/expat.h "$expat"/lib/expat_external.h "$deps/include/"

# libxlsxwriter, with the system's (here: our) minizip, its own MD5 and temporary files.
for file in "$xlsx"/src/*.c "$xlsx"/third_party/md5/md5.c "$xlsx"/third_party/tmpfileplus/tmpfileplus.c; do
    emcc "${flags[@]}" -DUSE_SYSTEM_MINIZIP -I"$xlsx/include" -I"$deps/include" -I"$deps/include/minizip" \
        -c "$file" -o "$build/xlsx/$(basename "$file" .c).o"
done
emar rcs "$deps/lib/libxlsxwriter.a" "$build"/xlsx/*.o
cp -r "$xlsx"/include/xlsxwriter.h "$xlsx"/include/xlsxwriter "$deps/include/"

{
    echo "Built for the web from Debian's source packages:"
    for package in "$zlib" "$expat/.." "$xlsx"; do basename "$(cd "$package" && pwd)"; done
} >"$deps/VERSIONS"
cat "$deps/VERSIONS"
