# A program that would stay running, planted as ping.exe where Vornel was unpacked. Were it
# started in place of the system's ping, the probe would wait on it for ever.
begin "planted: ping.exe beside Vornel"
install_app Vornel Drainex ping
cp "$dir/kestrava_child.exe" "$app/ping.exe"
start_programs
check "running window shown" boost
check "network line shows 1472" line_matches "$IDC_NETWORK_ANCHOR" '^인터넷 : 1472 로 최적화$'
check "the planted program never ran" test -z "$(inspect pid ping.exe)"
check "the boost ends when the running window closes" end_boost
check "Vornel ends with its close button" close_vornel
