# A child that exits mid-boost: the undo puts back the one that remains.
begin "fault: a child exits mid-boost"
install_app Vornel Drainex ping
start_programs
check "running window shown" boost
kill "${started[1]}" 2>/dev/null
check "the boost ends when the running window closes" end_boost
expect_process "remaining program after the undo" "$(inspect process "$catalogue_pid")" \
  "$(field priority "$catalogue_before")" "$(field affinity "$catalogue_before")" 0
check "Vornel ends with its close button" close_vornel
