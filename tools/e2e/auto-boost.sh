# With "게임을 시작하면 자동으로 적용" ticked, the boost button hides the main window and waits;
# a stand-in game with a borderless window over the screen starts the boost, its end undoes
# it, and its next start boosts again. Vornel is ended by its icon menu's 종료, sent to the
# window as the menu sends it (the notification area is out of reach under Wine).
begin "auto-boost: the boost follows the game"
install_app Vornel Drainex ping
cp "$dir/kestrava_child.exe" "$app/game.exe"
start_programs
driver click "$main_title" "$IDC_AUTO_BOOST"
check "option ticked" test "$(driver check "$main_title" "$IDC_AUTO_BOOST")" = 1
driver click "$main_title" "$IDC_BOOST"
check "the main window hides" driver gone "$main_title" 20000

# Until the catalogue program has the class and mask it should have, at most 5 s.
catalogue_becomes() {  # catalogue_becomes PRIORITY AFFINITY
  for _ in $(seq 1 25); do
    local state
    state=$(inspect process "$catalogue_pid")
    [ "$(field priority "$state")" = "$1" ] && [ "$(field affinity "$state")" = "$2" ] && return 0
    sleep 0.2
  done
  return 1
}
local all_cpus last_cpu game_pid
all_cpus=$(field affinity "$catalogue_before")
last_cpu=$(awk -v m="$(( all_cpus ))" 'BEGIN { b = 1; while (b * 2 <= m) b *= 2; print b }')
sleep 3
expect_process "catalogue program while waiting" "$(inspect process "$catalogue_pid")" \
  "$(field priority "$catalogue_before")" "$all_cpus" 0

for round in first second; do
  start "$app/game.exe" fullscreen
  game_pid=$(wait_pid game.exe)
  check "the $round game runs" test -n "$game_pid"
  check "the $round game's start boosts within 5 s" catalogue_becomes 64 "$last_cpu"
  check "no running window over the game" test -z "$(driver wait "$boost_title" 0)"
  expect_process "$round game during its boost" "$(inspect process "$game_pid")" 32 "$all_cpus" 0
  [ "$round" = first ] && shot auto-boost-game
  kill "${started[-1]}" 2>/dev/null
  check "the $round game's end undoes the boost within 5 s" \
    catalogue_becomes "$(field priority "$catalogue_before")" "$all_cpus"
done

start "$app/game.exe" fullscreen
check "the game's start boosts again" catalogue_becomes 64 "$last_cpu"
check "종료 sent to the window" driver command "$main_title" "$IDM_EXIT"
check "Vornel ended, after a boost still being applied" vornel_ends 60
expect_process "catalogue program after 종료" "$(inspect process "$catalogue_pid")" \
  "$(field priority "$catalogue_before")" "$all_cpus" 0
expect_process "other program after 종료" "$(inspect process "$plain_pid")" \
  "$(field priority "$plain_before")" "$(field affinity "$plain_before")" 0
