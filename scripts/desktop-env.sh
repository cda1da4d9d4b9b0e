# Sourced by what starts a test's Windows programs: points a test that shows windows at the
# desktop CTest lent it. CTest names the desktop in CTEST_RESOURCE_GROUP_0_DESKTOP ("id:2,slots:1").
# Desktop 1 is the display and Wine prefix the tests were started with; desktop N is the display
# scripts/with-display.sh started for it (WIRAX_DESKTOP_N_DISPLAY) and the prefix PREFIX-N beside
# the first. A test that shows windows but was lent no desktop waits for the one display in turn.
# Needs WINEPREFIX set.
if [ "${WIRAX_SHOWS_WINDOWS:-}" = 1 ]; then
  desktop=${CTEST_RESOURCE_GROUP_0_DESKTOP:-}
  desktop=${desktop#id:}
  desktop=${desktop%%,*}
  if [ -z "$desktop" ]; then
    exec 8>"$WINEPREFIX.windows.lock"
    flock 8
  elif [ "$desktop" != 1 ]; then
    desktop_display=WIRAX_DESKTOP_${desktop}_DISPLAY
    if [ -z "${!desktop_display:-}" ]; then
      echo "desktop $desktop has no display: run the tests with scripts/test.sh" >&2
      exit 1
    fi
    export DISPLAY=${!desktop_display} WINEPREFIX=$WINEPREFIX-$desktop
  fi
  # The programs the test starts are on their desktop already.
  unset WIRAX_SHOWS_WINDOWS
fi
