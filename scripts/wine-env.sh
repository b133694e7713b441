# Sourced by the build, run and test scripts: picks the Windows target this machine can
# execute under Wine and prepares a project-local Wine prefix.
#
# Quorvil is a 32-bit program. Where the kernel cannot start 32-bit Linux binaries (some
# virtual machines lack the compatibility mode), Wine's 32-bit loader cannot run at all;
# the same sources are then built for x86-64 and run under 64-bit Wine instead.

: "${QUORVIL_ROOT:=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"

quorvil_pick_arch() {
  if [ -n "${QUORVIL_ARCH:-}" ]; then return; fi
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    QUORVIL_ARCH=i686
  else
    QUORVIL_ARCH=x86_64
  fi
}

quorvil_setup_env() {
  quorvil_pick_arch
  BUILD_DIR="${BUILD_DIR:-$QUORVIL_ROOT/build/$QUORVIL_ARCH}"
  export WINEPREFIX="$BUILD_DIR/wineprefix"
  export WINEDEBUG=-all
  export LC_ALL=ja_JP.UTF-8
  if [ "$QUORVIL_ARCH" = i686 ]; then
    export WINEARCH=win32
    QUORVIL_WINE=/usr/lib/wine/wine
  else
    export WINEARCH=win64
    export WINELOADER=/usr/lib/wine/wine64
    QUORVIL_WINE=/usr/lib/wine/wine64
  fi
  export QUORVIL_WINE
  export PATH="$QUORVIL_ROOT/scripts/bin:$PATH"
}

quorvil_build() {
  cmake -S "$QUORVIL_ROOT" -B "$BUILD_DIR" \
    -DCMAKE_TOOLCHAIN_FILE="$QUORVIL_ROOT/cmake/mingw-$QUORVIL_ARCH.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$BUILD_DIR" -j "$(nproc)"
}

# The program that ships is 32-bit. An i686 build folder holds it already; any other build
# folder gets a 32-bit build of the program alone (no tests) in its i686-program folder.
quorvil_program_dir() {
  if [ "$QUORVIL_ARCH" = i686 ]; then echo "$BUILD_DIR"; else echo "$BUILD_DIR/i686-program"; fi
}

# Builds the 32-bit program in quorvil_program_dir; arguments go to `cmake --build`.
quorvil_build_program() {
  local dir options=()
  dir=$(quorvil_program_dir)
  [ "$dir" = "$BUILD_DIR" ] || options=(-DQUORVIL_TESTS=OFF)
  cmake -S "$QUORVIL_ROOT" -B "$dir" "${options[@]}" \
    -DCMAKE_TOOLCHAIN_FILE="$QUORVIL_ROOT/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null &&
    cmake --build "$dir" -j "$(nproc)" "$@"
}

# The marker of a prefix holds the round of set-up it has had. Raised whenever a step is added
# below, so prefixes made before that step get it too; every step may run again unharmed.
QUORVIL_PREFIX_ROUND=2

# Wine's background services inherit whatever streams wineboot has; on a pipe the caller
# would wait for them forever, so everything Wine starts here talks to /dev/null.
quorvil_start_wine() {
  local fresh=0 marker="$WINEPREFIX/.quorvil-ready"
  [ -f "$WINEPREFIX/system.reg" ] || fresh=1
  wineserver -p </dev/null >/dev/null 2>&1
  "$QUORVIL_WINE" wineboot </dev/null >/dev/null 2>&1 || true
  if [ $fresh -eq 1 ] || [ "$(cat "$marker" 2>/dev/null)" != "$QUORVIL_PREFIX_ROUND" ]; then
    # Without these fonts every Marlett glyph (caption buttons, check marks) draws as a letter.
    cp -f /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    # No window manager runs here: unmanaged windows hide at once instead of after 2 s, and a
    # crashing test fails instead of waiting behind a crash dialog.
    "$QUORVIL_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
    "$QUORVIL_WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
    # The dialogs ask for ＭＳ Ｐゴシック, which Wine does not have; on its own it picks the
    # fixed-pitch IPAGothic, whose wider letters clip labels laid out for a proportional face.
    # A replacement counts only while no font of that name is installed.
    "$QUORVIL_WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /t REG_SZ /d IPAPGothic /f \
      </dev/null >/dev/null 2>&1
    echo "$QUORVIL_PREFIX_ROUND" >"$marker"
  fi
}

# The prefix is shared by the tests, scripts/run and scripts/screenshots. A script that fills
# its MenuExt key saves the key first (into the folder given) and puts it back as it was when
# it ends, also when the key did not exist before.
QUORVIL_MENU_EXT='HKCU\Software\Microsoft\Internet Explorer\MenuExt'
QUORVIL_MENU_EXT_COPY=
quorvil_save_menu_ext() {  # folder
  if "$QUORVIL_WINE" reg query "$QUORVIL_MENU_EXT" </dev/null >/dev/null 2>&1; then
    rm -f "$1/saved-menu-ext.reg"
    (cd "$1" && "$QUORVIL_WINE" reg export "$QUORVIL_MENU_EXT" saved-menu-ext.reg /y </dev/null >/dev/null 2>&1) &&
      [ -s "$1/saved-menu-ext.reg" ] || { echo "could not save the prefix's MenuExt key" >&2; return 1; }
    QUORVIL_MENU_EXT_COPY="$1/saved-menu-ext.reg"
  else
    QUORVIL_MENU_EXT_COPY=absent
  fi
}

# Does nothing unless quorvil_save_menu_ext ran.
quorvil_restore_menu_ext() {
  [ -n "$QUORVIL_MENU_EXT_COPY" ] || return 0
  "$QUORVIL_WINE" reg delete "$QUORVIL_MENU_EXT" /f </dev/null >/dev/null 2>&1
  if [ "$QUORVIL_MENU_EXT_COPY" != absent ]; then
    (cd "$(dirname "$QUORVIL_MENU_EXT_COPY")" &&
      "$QUORVIL_WINE" reg import "$(basename "$QUORVIL_MENU_EXT_COPY")" </dev/null >/dev/null 2>&1) ||
      { echo "could not put the prefix's MenuExt key back; its copy is $QUORVIL_MENU_EXT_COPY" >&2; return 1; }
    rm -f "$QUORVIL_MENU_EXT_COPY"
  fi
  QUORVIL_MENU_EXT_COPY=
}

quorvil_stop_wine() {
  wineserver -k </dev/null >/dev/null 2>&1 || true
}

# Starts Xvfb on the first free display and exports DISPLAY; QUORVIL_XVFB_PID names it.
quorvil_start_xvfb() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    QUORVIL_XVFB_PID=$!
    local i
    for i in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && { export DISPLAY=":$n"; return 0; }
      kill -0 "$QUORVIL_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "could not start Xvfb" >&2
  return 1
}

quorvil_stop_xvfb() {
  [ -n "${QUORVIL_XVFB_PID:-}" ] && kill "$QUORVIL_XVFB_PID" 2>/dev/null && wait "$QUORVIL_XVFB_PID" 2>/dev/null
  QUORVIL_XVFB_PID=
}
