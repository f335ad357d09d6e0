#!/usr/bin/env bash
# Installs the Debian packages with apt into a clean Debian 12 root, as a user's machine would,
# then runs rivode there and builds and runs a host against the -dev package.
# Arguments: the folder of the .deb files, a folder kept between runs for the root, the host's
# sources (tests/install/consumer), the compile and link flags the host needs.
# Exit 77 (a skip) when this machine cannot make the root: not root, no debootstrap, no mirror.
set -euo pipefail
debs=$1 cache=$2 consumer=$3 host_flags=$4
started=$SECONDS

skip() {
    echo "SKIPPED: $*"
    exit 77
}
[[ ${RIVODE_SKIP_PACKAGE_INSTALL:-} == 1 ]] && skip "RIVODE_SKIP_PACKAGE_INSTALL=1"
[[ $(id -u) == 0 ]] || skip "making a clean Debian root needs root (debootstrap, chroot, mount)"
command -v debootstrap >/dev/null || skip "debootstrap is missing (scripts/bootstrap installs it)"
# The mirror this machine's apt uses, unless RIVODE_DEBIAN_MIRROR names one.
mirror=${RIVODE_DEBIAN_MIRROR:-$(grep -hsE '^URIs: .*/debian/?$' /etc/apt/sources.list.d/*.sources |
    head -1 | cut -d' ' -f2)}
[[ -n $mirror ]] || mirror=$(grep -hsE '^deb [^ ]+/debian/? bookworm' /etc/apt/sources.list |
    head -1 | cut -d' ' -f2)
[[ -n $mirror ]] || skip "no Debian mirror in the apt sources; set RIVODE_DEBIAN_MIRROR"

# Never delete through a file system mounted inside a root.
unmount_inside() {
    local mounted
    for mounted in proc sys dev/pts; do
        mountpoint -q "$1/$mounted" 2>/dev/null && umount -l "$1/$mounted"
    done
    return 0
}
remove_root() {
    unmount_inside "$1"
    rm -rf --one-file-system "$1"
}

# The base root, with the compiler and build tools the host needs, is made once: debootstrap
# takes about 3 minutes, a copy of the base a few seconds.
base=$cache/bookworm
mkdir -p "$cache"
if [[ ! -f $base/.complete ]]; then
    remove_root "$base"
    echo "making a Debian 12 root with debootstrap from $mirror (once, kept in $cache)"
    if ! debootstrap --variant=minbase --include=g++,cmake,pkg-config,make bookworm "$base" \
        "$mirror" >"$cache/debootstrap.log" 2>&1; then
        remove_root "$base"
        skip "debootstrap could not make a Debian 12 root from $mirror (see $cache/debootstrap.log)"
    fi
    unmount_inside "$base"
    touch "$base/.complete"
fi

root=$cache/root
trap 'remove_root "$root"' EXIT
remove_root "$root"
cp -a --reflink=auto "$base" "$root"
mkdir -p "$root/tmp/debs"
cp "$debs"/*.deb "$root/tmp/debs/"
cp -r "$consumer" "$root/tmp/consumer"
cp /etc/resolv.conf "$root/etc/resolv.conf"
# A sanitizer build's programs read /proc.
mount -t proc proc "$root/proc"

in_root() {
    chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
        DEBIAN_FRONTEND=noninteractive "$@"
}
check() {
    local what=$1
    shift
    if ! output=$("$@" 2>&1); then
        echo "FAILED: $what"
        echo "$output"
        exit 1
    fi
}

check "apt-get update in the clean root" in_root apt-get update -qq
# apt resolves the packages' dependencies from the mirror, as on a user's machine.
check "apt-get install of the packages" in_root apt-get install -y -qq --no-install-recommends \
    $(cd "$root" && ls tmp/debs/*.deb | sed 's|^|/|')
check "rivode --help" in_root rivode --help
[[ $output == *"global"*"session"* ]] || { echo "FAILED: rivode --help: $output"; exit 1; }
check "rivode global list" in_root rivode global list
[[ $output == *"Tab Width"* ]] || { echo "FAILED: rivode global list: $output"; exit 1; }
check "rivode's completion script" in_root bash -c \
    'source /usr/share/bash-completion/completions/rivode && complete -p rivode'

# A host built against the -dev package, found both documented ways.
check "configuring the host" in_root cmake -S /tmp/consumer -B /tmp/consumer-build \
    -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS=$host_flags" \
    "-DCMAKE_EXE_LINKER_FLAGS=$host_flags"
check "building the host" in_root cmake --build /tmp/consumer-build
for host in consumer_cmake consumer_pkgconfig; do
    check "$host" in_root "/tmp/consumer-build/$host" /tmp/$host-config
    # Message texts end their lines with CR LF, as stored files do.
    expected=$'Quillterm could not be launched from the following location:\n/opt/quillterm'
    [[ ${output//$'\r'/} == "$expected" ]] || { echo "FAILED: $host printed: $output"; exit 1; }
    [[ -f $root/tmp/$host-config/Sessions/Installed.ini ]] || { echo "FAILED: $host"; exit 1; }
done
echo "installed and used in a clean Debian 12 root in $(( SECONDS - started )) s"
