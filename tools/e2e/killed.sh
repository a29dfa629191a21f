# Vornel is killed (SIGKILL, no undo) while the running window shows: the catalogue program
# stays suspended until Vornel starts again, says so once and puts it back from the journal.
begin "fault: Vornel killed during a boost"
install_app Vornel Drainex ping
start_programs
local journal="$state/BoostJournal.txt"
local message="이전 부스트가 정상적으로 끝나지 않아"
check "running window shown" boost
check "the journal names the catalogue program" grep -q "^record $catalogue_pid .* msnmsgr.exe #" "$journal"
pkill -KILL -f "$app_name/Vornel.exe"
local gone=1
for _ in $(seq 1 50); do
  vornel_running || { gone=0; break; }
  sleep 0.2
done
check "Vornel killed" test $gone = 0
local after_kill
after_kill=$(inspect process "$catalogue_pid")
check "catalogue program still suspended after the kill" test "$(field suspended "$after_kill")" = 1
check "catalogue program still idle after the kill" test "$(field priority "$after_kill")" = 64

start "$app/Vornel.exe"
check "the recovery message is captioned Kestrava" test "$(driver caption "$message" 60000)" = Kestrava
shot "recovery-message"
check "the recovery message is answered" driver answer "$message" 1 10000
local shown=1
for _ in $(seq 1 50); do
  [ "$(driver wait "$main_title" 1000 | cut -d' ' -f3-)" = "500 367" ] && { shown=0; break; }
  sleep 0.2
done
check "the main window opens after the message" test $shown = 0
expect_process "catalogue program after the recovery" "$(inspect process "$catalogue_pid")" \
  "$(field priority "$catalogue_before")" "$(field affinity "$catalogue_before")" 0
expect_process "other program after the recovery" "$(inspect process "$plain_pid")" \
  "$(field priority "$plain_before")" "$(field affinity "$plain_before")" 0
check "the journal is removed" test ! -e "$journal"
check "Vornel ends with its close button" close_vornel
