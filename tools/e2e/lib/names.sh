# What the scenarios look for: the dialogs' controls, the window titles and the debug log's lines.

# The controls the scenarios drive or read, by their names in ResourceIds.h, which gives
# their numbers.
ids_header="$root/src/resources/ResourceIds.h"
for name in IDC_PROGRESS IDC_SUSPEND IDC_BOOST IDC_CLOSE IDC_GRAPHICS IDC_NETWORK_ANCHOR IDC_MEMORY_ANCHOR \
  IDC_PROCESS_ANCHOR IDC_RESTORE IDC_AUTO_BOOST IDM_EXIT; do
  value=$(sed -n "s/^constexpr int $name = \([0-9]*\);.*/\1/p" "$ids_header")
  [ -n "$value" ] || { echo "e2e: $name is not defined in $ids_header" >&2; exit 2; }
  printf -v "$name" %s "$value"
done

main_title="Kestrava"
boost_title="Kestrava가 적용 되었습니다..."

# Lines of the debug log: the rule that runs, and what it did to a process, whose executable
# name follows.
log_priority_rule="ExecuteRuleRoutine: Function = [priority]"
log_lowered="clsEnhance.SetProcessPriorityToLow:"
log_affinity="clsEnhance.SetProcessAffinity: "
log_suspended="clsEnhance.SuspendProcess:"
log_hidden="clsEnhance.HideProcessWindow:"
# The game being played, which the boost spares: its reason in parentheses, then its name.
log_spared="SpareGameProcess"
