#!/usr/bin/env bash
# Makes the Debian packages of a build with cpack and checks them as Debian's tools would: names,
# sections, descriptions, dependencies computed from the binaries, copyright files, where files
# go, their modes, the library's SONAME, ldconfig and the shlibs file.
# Arguments: the build folder, the folder for the packages, the project's version.
set -uo pipefail
build=$1 out=$2 version=$3
rm -rf "$out" && mkdir -p "$out"
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1; then
    cat "$out/cpack.log"
    exit 1
fi
rm -rf "$out/_CPack_Packages"

failures=0
fail() {
    echo "FAILED: $*"
    failures=$(( failures + 1 ))
}

runtime=librivoderavudavu${version%%.*}
declare -A section=([$runtime]=libs [librivoderavudavu-dev]=libdevel [rivode]=utils)
for package in "$runtime" librivoderavudavu-dev rivode; do
    deb=$out/${package}_${version}_$(dpkg --print-architecture).deb
    if [[ ! -f $deb ]]; then
        fail "cpack made no $deb"
        continue
    fi
    fields=$(dpkg-deb -f "$deb")
    [[ $(dpkg-deb -f "$deb" Section) == "${section[$package]}" ]] || fail "$package: section"
    for field in Maintainer Priority Architecture; do
        [[ -n $(dpkg-deb -f "$deb" $field) ]] || fail "$package: no $field"
    done
    # A summary line and a longer description.
    [[ $(dpkg-deb -f "$deb" Description | wc -l) -ge 3 ]] || fail "$package: short description"
    contents=$(dpkg-deb -c "$deb")
    [[ $contents == *" ./usr/share/doc/$package/copyright"* ]] || fail "$package: no copyright"
    outside=$(grep -v ' \./usr/' <<<"$contents" | grep -v ' \./$')
    [[ -z $outside ]] || fail "$package: files outside /usr: $outside"
    grep -q ' \./usr/local/' <<<"$contents" && fail "$package: files under /usr/local"
    grep -E '^[-d].......w' <<<"$contents" && fail "$package: files others may write"
    grep -E '^-..s|^-.....s' <<<"$contents" && fail "$package: setuid or setgid files"
    depends=$(dpkg-deb -f "$deb" Depends)
    case $package in
        "$runtime")
            # Computed by dpkg-shlibdeps from the libraries.
            for needed in libc6 libstdc++6 libcrypto++8; do
                [[ $depends == *"$needed ("* ]] || fail "$package depends not on $needed: $depends"
            done
            control=$(mktemp -d)
            dpkg-deb -e "$deb" "$control"
            grep -q "ldconfig" "$control/postinst" 2>/dev/null ||
                fail "$package: ldconfig does not run when it is installed"
            grep -q "^libRivodeRavudaVU 0 $runtime" "$control/shlibs" 2>/dev/null ||
                fail "$package: no shlibs line for libRivodeRavudaVU"
            rm -rf "$control"
            # The package name follows the library's SONAME.
            files=$(mktemp -d)
            dpkg-deb -x "$deb" "$files"
            soname=$(objdump -p "$(find "$files" -name 'libRivodeRavudaVU.so.*.*' | head -1)" |
                awk '/SONAME/ {print $2}')
            [[ $soname == libRivodeRavudaVU.so.${version%%.*} ]] || fail "SONAME $soname"
            [[ -n $(find "$files" -path '*rivoderavudavu/modules/SSH2.so') ]] ||
                fail "$package: no protocol modules"
            rm -rf "$files" ;;
        librivoderavudavu-dev)
            [[ $depends == *"$runtime (= $version)"* ]] || fail "$package depends: $depends"
            for file in '/pkgconfig/rivoderavudavu.pc' '/cmake/RivodeRavudaVU/RivodeRavudaVUConfig.cmake' \
                '/libRivodeRavudaVU.so ->' './usr/include/RivodeRavudaVU/YProfileStore.h'; do
                [[ $contents == *"$file"* ]] || fail "$package lacks $file"
            done ;;
        rivode)
            [[ $depends == *"$runtime (= $version)"* ]] || fail "$package depends: $depends"
            [[ $depends == *"libc6 ("* ]] || fail "$package: no dependencies from dpkg-shlibdeps"
            for file in ./usr/bin/rivode ./usr/share/man/man1/rivode.1.gz \
                ./usr/share/bash-completion/completions/rivode \
                ./usr/share/zsh/vendor-completions/_rivode; do
                [[ $contents == *" $file"* ]] || fail "$package lacks $file"
            done
            grep -q -- '-rwxr-xr-x .* ./usr/bin/rivode$' <<<"$contents" || fail "rivode's mode" ;;
    esac
done
echo "$(( failures == 0 ? 1 : 0 )) passed, $(( failures == 0 ? 0 : 1 )) failed"
(( failures == 0 ))
