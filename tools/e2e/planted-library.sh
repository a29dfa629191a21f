# A COMCTL32.dll planted beside both programs, which leaves a trace when loaded; Wine is told to
# prefer it to its own, as Windows does for a library that is not a known DLL. It is never
# loaded and the boost completes.

# The planted library's trace is named after the path it was loaded by, in whatever letter case.
planted_library_unused() { ! ls "$app" | grep -qi '^comctl32\.dll\.loaded$'; }

begin "planted: COMCTL32.dll beside Vornel and Drainex"
install_app Vornel Drainex ping
cp "$dir/planted_comctl32.dll" "$app/COMCTL32.dll"
local overrides=$WINEDLLOVERRIDES
export WINEDLLOVERRIDES="$overrides;comctl32=n,b"
start_programs
check "running window shown" boost
check "the bar moved during the memory release" bar_moved
check "the planted COMCTL32.dll was never loaded" planted_library_unused
check "the boost ends when the running window closes" end_boost
check "Vornel ends with its close button" close_vornel
export WINEDLLOVERRIDES="$overrides"
