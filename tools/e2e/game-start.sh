# A stand-in launcher, running at the boost, starts a stand-in game once a flag file appears:
# the game runs on every processor at the normal class, a voice program keeps its class and mask,
# and the undo gives the launcher back its state from before the boost.
begin "game-start: a game started during a boost"
install_app Vornel Drainex ping
for program in launcher game discord; do cp "$dir/kestrava_child.exe" "$app/$program.exe"; done
local flag="$WINEPREFIX/drive_c/kestrava-e2e-launch.flag"
rm -f "$flag"
start "$app/launcher.exe" launch 'C:\kestrava-e2e-launch.flag' "C:\\$app_name\\game.exe"
start "$app/discord.exe"
start_programs
local launcher_pid discord_pid launcher_before discord_before game_pid=""
read_process launcher.exe launcher_pid launcher_before
read_process discord.exe discord_pid discord_before
check "running window shown" boost
check "the launcher is throttled during the boost" test "$(field priority "$(inspect process "$launcher_pid")")" = 64
touch "$flag"
game_pid=$(wait_pid game.exe)
check "the launcher started the game" test -n "$game_pid"
sleep 2  # a few checks of the running window
expect_process "game" "$(inspect process "$game_pid")" 32 "$(field affinity "$launcher_before")" 0
expect_process "discord.exe during the boost" "$(inspect process "$discord_pid")" \
  "$(field priority "$discord_before")" "$(field affinity "$discord_before")" 0
check "the boost ends when the running window closes" end_boost
expect_process "launcher after the undo" "$(inspect process "$launcher_pid")" \
  "$(field priority "$launcher_before")" "$(field affinity "$launcher_before")" 0
check "Vornel ends with its close button" close_vornel
