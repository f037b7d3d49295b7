#!/usr/bin/env bash
# Builds the Debian package and checks it as a user meets it: its file list,
# its Depends, its desktop entry and icons, an install and purge that leave the
# user's files alone, and the packaged programs run from the unpacked tree
# through their command links, from another folder: the viewer finds its packs
# and skins, the emulator keeps its data in the user's XDG folders, and the
# viewer shows 16 live panes from the emulator on loopback (offscreen
# screenshot).
# Usage: scripts/package-check.sh [BUILD_DIR]   (default: build, as
# scripts/test.sh leaves it; cpack installs from a complete build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build}")
programs=(Ombrel dvr-emulator ddns-emulator dvrctl dvr-regedit)
icon_sizes=(16 22 24 32 48 64 128 256)
install_dir=usr/lib/ombrel

fail() {
  echo "package check: $*" >&2
  exit 1
}

work=$(mktemp -d)
emulator=""
cleanup() {
  if [ -n "$emulator" ]; then
    kill "$emulator" 2>/dev/null || true
    wait "$emulator" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

bash "$root/scripts/build.sh" "$build"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
rm -rf "$build/package"
(cd "$build" && cpack -G DEB -B "$build/package") >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb="$build/package/ombrel_${version}_amd64.deb"
[ -f "$deb" ] || fail "cpack made no $(basename "$deb"): $(ls "$build/package")"
echo "package: $deb ($(du -k "$deb" | cut -f1) KiB)"

# --- Control fields: name, version, Depends from the libraries, no scripts.
[ "$(dpkg-deb -f "$deb" Package)" = ombrel ] || fail "Package is not ombrel"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "Version is not $version"
[ "$(dpkg-deb -f "$deb" Architecture)" = amd64 ] || fail "Architecture is not amd64"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for lib in libc6 'libstdc\+\+6' libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 'libavcodec[0-9]+' \
           'libswscale[0-9]+' libsqlite3-0 'libsdl2-[0-9.-]+' libssl3; do
  grep -Eq "(^|, )$lib( |,|$)" <<<"$depends" || fail "Depends lacks $lib"
done
# apt can install it here: every dependency resolves (a dry run, nothing is installed).
apt-get install -s "$deb" >"$work/apt.log" 2>&1 && grep -q '^Inst ombrel ' "$work/apt.log" ||
  { cat "$work/apt.log" >&2; fail "apt cannot install the package"; }
# No maintainer scripts and no configuration files: removing or purging the
# package can only take away what it installed under /usr.
control_files=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | sed 's|^\./||' | grep -v '^$' | sort | tr '\n' ' ')
[ "$control_files" = "control md5sums " ] || fail "unexpected control files: $control_files"

# --- File list.
outside=$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -Ev '^\./(usr/?)?$|^\./usr/(bin|lib|share)(/|$)' || true)
[ -z "$outside" ] || fail "files outside /usr/bin, /usr/lib, /usr/share: $outside"
tree="$work/tree"
dpkg-deb -x "$deb" "$tree"
for program in "${programs[@]}"; do
  [ -x "$tree/$install_dir/$program" ] || fail "$install_dir/$program is missing"
  command=$(tr '[:upper:]' '[:lower:]' <<<"$program")
  [ "$(readlink "$tree/usr/bin/$command")" = "../lib/ombrel/$program" ] ||
    fail "usr/bin/$command does not link to ../lib/ombrel/$program"
done
# Every language pack, skin file and image the build copies beside the programs.
(cd "$root/resources" && find lang skin images -type f) | while read -r source; do
  rel=${source#lang/}
  cmp -s "$root/resources/$source" "$tree/$install_dir/$rel" || fail "$install_dir/$rel is missing or differs from the source"
done
# The PTZ drivers, in the driver folder, once the tree has them.
drivers=0
if [ -d "$root/drivers/ptz" ]; then
  for name in PTZ_PELCOD PTZ_PELCO; do
    file -b "$tree/$install_dir/lib/ptz/$name" 2>/dev/null | grep -q 'ELF.*shared object' ||
      fail "$install_dir/lib/ptz/$name is missing"
    drivers=$((drivers + 1))
  done
fi
echo "PTZ drivers packaged: $drivers"
# Programs and drivers only: no tests, benchmarks or build tools, and stripped.
elf_count=$(find "$tree" -type f -exec file {} + | grep -c ': *ELF' || true)
[ "$elf_count" -eq $((${#programs[@]} + drivers)) ] || fail "$elf_count ELF files, expected $((${#programs[@]} + drivers))"
if find "$tree" -type f -exec file {} + | grep ': *ELF' | grep -q 'not stripped'; then
  fail "unstripped programs in the package"
fi

# --- Desktop entry and icons.
desktop="$tree/usr/share/applications/ombrel.desktop"
[ -f "$desktop" ] || fail "usr/share/applications/ombrel.desktop is missing"
desktop-file-validate "$desktop" || fail "the desktop entry does not validate"
exec_command=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -L "$tree/usr/bin/$exec_command" ] || fail "Exec=$exec_command is not a packaged command"
icon=$(sed -n 's/^Icon=//p' "$desktop")
for size in "${icon_sizes[@]}"; do
  png="$tree/usr/share/icons/hicolor/${size}x${size}/apps/$icon.png"
  file -b "$png" 2>/dev/null | grep -q "PNG image data, $size x $size" || fail "no ${size}x${size} icon $icon.png"
done
grep -q '<svg' "$tree/usr/share/icons/hicolor/scalable/apps/$icon.svg" || fail "no scalable icon $icon.svg"

# --- Install and purge into a scratch root: the user's files stay.
dpkg_root="$work/dpkg-root"
mkdir -p "$dpkg_root/var/lib/dpkg/info" "$dpkg_root/var/lib/dpkg/updates" "$dpkg_root/home/user/.config/DVR" \
         "$dpkg_root/home/user/DVR/Live/Capture"
touch "$dpkg_root/var/lib/dpkg/status" "$dpkg_root/var/lib/dpkg/available"
echo settings >"$dpkg_root/home/user/.config/DVR/registry.db"
echo picture >"$dpkg_root/home/user/DVR/Live/Capture/CH01.jpg"
dpkg_in_root=(dpkg --root="$dpkg_root" --force-depends --force-not-root --force-script-chrootless)
"${dpkg_in_root[@]}" -i "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg could not install it"; }
[ -x "$dpkg_root/$install_dir/Ombrel" ] || fail "dpkg did not install $install_dir/Ombrel"
"${dpkg_in_root[@]}" --purge ombrel >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log" >&2; fail "dpkg could not purge it"; }
[ ! -e "$dpkg_root/$install_dir" ] || fail "purge left $install_dir"
[ "$(cat "$dpkg_root/home/user/.config/DVR/registry.db")" = settings ] || fail "purge touched the settings"
[ "$(cat "$dpkg_root/home/user/DVR/Live/Capture/CH01.jpg")" = picture ] || fail "purge touched the pictures"

# --- The packaged programs, run as a user would: through the command links,
# from an unrelated folder, with their own home.
home="$work/home"
elsewhere="$work/elsewhere"
mkdir -p "$home" "$elsewhere"
user_env=(env -u DVR_REGISTRY -u DVR_DRIVE_C -u DVR_PTZ_DIR HOME="$home"
  XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" XDG_CACHE_HOME="$home/.cache"
  QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy)
run_as_user() {
  (cd "$elsewhere" && exec "${user_env[@]}" "$@")
}

# The viewer's look comes from the skins in the install folder: the same
# unconnected window looks different once they are moved away.
shoot_idle() {
  run_as_user env OMBREL_SCREENSHOT="$1" OMBREL_SCREENSHOT_AFTER_MS=1000 OMBREL_EXIT_AFTER_MS=1500 \
    timeout 60 "$tree/usr/bin/ombrel" >"$work/viewer.log" 2>&1 || { cat "$work/viewer.log" >&2; fail "the viewer failed"; }
  [ -f "$1" ] || fail "the viewer wrote no screenshot"
}
# The buttons under the video window: still while nothing is connected.
button_pixels() { ffmpeg -v error -i "$1" -vf crop=470:120:0:645 -f rawvideo -pix_fmt rgb24 - | md5sum; }
shoot_idle "$work/skinned.png"
mv "$tree/$install_dir/skin" "$work/skin-aside"
shoot_idle "$work/plain.png"
mv "$work/skin-aside" "$tree/$install_dir/skin"
[ "$(button_pixels "$work/skinned.png")" != "$(button_pixels "$work/plain.png")" ] ||
  fail "the viewer did not take its skin from the install folder"

tree_state() { (cd "$tree" && find . -printf '%p %s %T@\n' | sort); }
tree_before=$(tree_state)
# Short camera loops: the emulator's cache starts cold here.
# Started without the function so that $! is the emulator itself and the
# clean-up stops it.
(cd "$elsewhere" && exec "${user_env[@]}" "$tree/usr/bin/dvr-emulator" --listen 127.0.0.1:0 --model MODEL_C \
  --discovery-port 0 --loop-seconds 2) >"$work/emulator.log" 2>&1 &
emulator=$!
port=""
for _ in $(seq 1 1800); do
  port=$(sed -n 's/^listening 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$work/emulator.log")
  [ -n "$port" ] && break
  kill -0 "$emulator" 2>/dev/null || { cat "$work/emulator.log" >&2; fail "the packaged emulator did not start"; }
  sleep 0.1
done
[ -n "$port" ] || fail "the packaged emulator is not listening"
[ -n "$(find "$home/.local/share/ombrel/emulator" -name settings.bin 2>/dev/null)" ] ||
  fail "the emulator kept no settings in the user's data folder"
[ -n "$(find "$home/.cache/ombrel/emulator" -type f 2>/dev/null)" ] ||
  fail "the emulator kept no camera loops in the user's cache folder"

shot="$work/live.png"
run_as_user env OMBREL_CONNECT="127.0.0.1:$port:TCP:ADMIN:5829" OMBREL_SCREENSHOT="$shot" \
  OMBREL_SCREENSHOT_AFTER_MS=6000 OMBREL_EXIT_AFTER_MS=7000 timeout 120 "$tree/usr/bin/ombrel" \
  >"$work/viewer.log" 2>&1 || { cat "$work/viewer.log" >&2; fail "the viewer failed"; }
[ -f "$shot" ] || { cat "$work/viewer.log" >&2; fail "the viewer wrote no screenshot"; }
python3 "$root/scripts/check-live-panes.py" "$shot" 16 || {
  cp "$shot" "$build/package/live-panes.png"
  fail "fewer than 16 live panes (screenshot kept as $build/package/live-panes.png)"
}
[ -f "$home/.config/DVR/registry.db" ] || fail "the viewer kept no settings in the user's config folder"
[ "$(tree_state)" = "$tree_before" ] || fail "running the programs changed the install folder"
[ -z "$(ls -A "$elsewhere")" ] || fail "the programs wrote into the current folder: $(ls -A "$elsewhere")"
echo "package check passed"
