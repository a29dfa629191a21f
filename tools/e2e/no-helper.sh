# No Drainex.exe: the boost runs without the memory step and is undone as usual.
begin "fault: no Drainex.exe"
install_app Vornel ping
start_programs
check "running window shown without the helper" boost
check "the boost ends when the running window closes" end_boost
expect_process "catalogue program after the undo" "$(inspect process "$catalogue_pid")" \
  "$(field priority "$catalogue_before")" "$(field affinity "$catalogue_before")" 0
check "Vornel ends with its close button" close_vornel
