# Another program, one that would stay running, in place of Drainex.exe: Vornel does not start
# it, says so once, and the boost goes on without the memory step.
begin "swapped: another program as Drainex.exe"
install_app Vornel ping
cp "$dir/kestrava_child.exe" "$app/Drainex.exe"
start_programs
local message="함께 배포된 파일이 아닙니다"
driver click "$main_title" "$IDC_BOOST"
check "the foreign helper is reported, captioned Kestrava" test "$(driver caption "$message" 120000)" = Kestrava
shot "swapped-helper-message"
check "the report is answered" driver answer "$message" 1 10000
check "running window shown" window_shown "$boost_title" 60000
shot "swapped-helper-boost"
check "the program in place of Drainex.exe never ran" test -z "$(inspect pid Drainex.exe)"
check "the boost ends when the running window closes" end_boost
check "a second boost completes without a second report" boost
check "the program in place of Drainex.exe never ran" test -z "$(inspect pid Drainex.exe)"
check "the second boost ends" end_boost
check "Vornel ends with its close button" close_vornel
