# No system ping: the probe finds no network, the user declines to go on, and nothing is changed.
begin "fault: no system ping"
install_app Vornel Drainex
start_programs
driver click "$main_title" "$IDC_BOOST"
check "the unstable-network question is asked" driver answer "계속 하시겠습니까" 7 120000
sleep 2
check "the run stops at the probe (bar back at 0)" test "$(driver progress "$main_title" "$IDC_PROGRESS")" = 0
check "no running window" driver gone "$boost_title" 1000
check "no backup folder" test ! -e "$state/NetOpti"
expect_process "catalogue program untouched" "$(inspect process "$catalogue_pid")" \
  "$(field priority "$catalogue_before")" "$(field affinity "$catalogue_before")" 0
check "Vornel ends with its close button" close_vornel
