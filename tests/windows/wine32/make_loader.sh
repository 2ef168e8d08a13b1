#!/bin/bash
# Makes FOLDER a Wine installation in which 32-bit Windows programs run on a
# machine that cannot execute 32-bit code: the 64-bit Wine runs natively and
# starts the 32-bit Wine loader under qemu's user-mode emulation.
#
# Wine starts a 32-bit program by executing "wine" beside the running loader,
# and finds its data and libraries relative to that folder, so the folder
# mirrors the system's layout: lib/wine holds the two loaders and a "wine"
# script that runs the i386 one under qemu; the rest are links to the
# system's 64-bit Wine and to the private 32-bit runtime that
# scripts/wine32-runtime.sh made, which qemu also takes as the 32-bit
# programs' root. The i386 Wine gets a small preload that makes access
# violations under qemu arrive as access violations (see segv_trap_fix.c).
# FOLDER/runtime names the runtime it was made with; the folder is made anew
# when the runtime or these sources change.
#   make_loader.sh FOLDER
set -euo pipefail
folder="$1"
source_dir=$(cd "$(dirname "$0")" && pwd)

qemu=$(command -v qemu-i386) || { echo "qemu-i386 is not installed: run scripts/setup.sh" >&2; exit 1; }
runtime=$("$source_dir/../../../scripts/wine32-runtime.sh" --path)
stamp="$runtime $(cat "$0" "$source_dir/segv_trap_fix.c" | sha256sum | cut -d' ' -f1)"
[[ -f "$folder/stamp" && "$(cat "$folder/stamp")" == "$stamp" ]] && exit 0

staging="$folder.staging.$$"
rm -rf "$staging"
mkdir -p "$staging"/{lib/wine,lib/x86_64-linux-gnu,lib/i386-linux-gnu,share} \
         "$staging"/preload/lib/{i386-linux-gnu,x86_64-linux-gnu}
cp /usr/lib/wine/wine64 "$staging/lib/wine/wine64"
cp "$runtime/usr/lib/wine/wine" "$staging/lib/wine/wine-i386"
ln -s /usr/lib/wine/wineserver "$staging/lib/wine/wineserver"
ln -s /usr/share/wine "$staging/share/wine"
ln -s /usr/lib/x86_64-linux-gnu/wine "$staging/lib/x86_64-linux-gnu/wine"
ln -s "$runtime/usr/lib/i386-linux-gnu/wine" "$staging/lib/i386-linux-gnu/wine"

# The preload is named through $LIB, which the dynamic loader expands to each
# process's own library folder: 64-bit processes that inherit the variable
# (wineserver, the 64-bit Wine) load a harmless empty object instead.
gcc -m32 -ffreestanding -fPIC -O2 -c "$source_dir/segv_trap_fix.c" -o "$staging/segv_trap_fix.o"
ld -m elf_i386 -shared "$staging/segv_trap_fix.o" -o "$staging/preload/lib/i386-linux-gnu/segv_trap_fix.so"
gcc -shared -fPIC -x c /dev/null -o "$staging/preload/lib/x86_64-linux-gnu/segv_trap_fix.so"
rm "$staging/segv_trap_fix.o"

cat >"$staging/lib/wine/wine" <<SCRIPT
#!/bin/sh
# Runs the i386 Wine loader under qemu. WINELOADERNOEXEC keeps Wine from
# re-executing itself through its preloader, which qemu cannot run.
export WINELOADERNOEXEC=1
exec "$qemu" -L "$runtime" -0 "$folder/lib/wine/wine" \\
  -E 'LD_PRELOAD=$folder/preload/\$LIB/segv_trap_fix.so' \\
  "$folder/lib/wine/wine-i386" "\$@"
SCRIPT
chmod +x "$staging/lib/wine/wine"
echo "$runtime" >"$staging/runtime"
echo "$stamp" >"$staging/stamp"

rm -rf "$folder"
mv "$staging" "$folder"
