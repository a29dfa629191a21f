# A stand-in game with a borderless window over the whole screen and two busy threads runs beside
# a busy background program when the boost is pressed, once with the suspend option clear and
# once ticked: the game keeps its class and every processor and is neither suspended nor hidden,
# the background program runs at the idle class on the last processor, and each undo puts
# everything back.
begin "game-running: a game running when the boost is pressed"
install_app Vornel Drainex ping
for program in game busy; do cp "$dir/kestrava_child.exe" "$app/$program.exe"; done
# The player switched from the game to Vornel: the game's window lies right beneath Vornel's.
local game_pid busy_pid game_before busy_before last_cpu geometry
start "$app/busy.exe" spin 1
check "the busy program's window shown" window_shown "kestrava child" 30000
start "$app/game.exe" fullscreen title "kestrava game" spin 2
geometry=$(driver wait "kestrava game" 30000)
check "the game's window covers the screen (got ${geometry:-none})" test "$geometry" = "0 0 1024 768"
start "$app/Vornel.exe"
check "main window shown" window_shown "$main_title" 60000
read_process game.exe game_pid game_before
read_process busy.exe busy_pid busy_before
last_cpu=$(awk -v m="$(( $(field affinity "$busy_before") ))" 'BEGIN { b = 1; while (b * 2 <= m) b *= 2; print b }')

for ticked in 0 1; do
  local option
  option=$([ "$ticked" = 1 ] && echo ticked || echo clear)
  if [ "$ticked" = 1 ]; then
    driver click "$main_title" "$IDC_SUSPEND"
    check "suspend warning answered" driver answer "모든 프로세스" 1 10000
  fi
  check "running window shown, option $option" boost
  shot "game-running-$option"
  expect_process "game, option $option" "$(inspect process "$game_pid")" \
    "$(field priority "$game_before")" "$(field affinity "$game_before")" 0
  check "the game's window stays shown, option $option" window_shown "kestrava game" 1000
  expect_process "busy program, option $option" "$(inspect process "$busy_pid")" 64 "$last_cpu" "$ticked"
  check "log: the game spared as filling the monitor" log_has "${log_spared}(a):game.exe"
  check "log: the busy program not spared" bash -c '! grep -qF "$1" "$2"' _ "):busy.exe" "$log"
  check "log: the game not lowered" bash -c '! grep -qF "$1" "$2"' _ "${log_lowered}game.exe" "$log"
  check "the boost ends when the running window closes, option $option" end_boost
  expect_process "game after the undo, option $option" "$(inspect process "$game_pid")" \
    "$(field priority "$game_before")" "$(field affinity "$game_before")" 0
  expect_process "busy program after the undo, option $option" "$(inspect process "$busy_pid")" \
    "$(field priority "$busy_before")" "$(field affinity "$busy_before")" 0
  rm -f "$log"
done
shot "game-running-after"
check "Vornel ends with its close button" close_vornel
