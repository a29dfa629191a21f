# A boost with the suspend option ticked: the fast profile, every unprotected program suspended
# and its windows hidden (lib/boost-scenario.sh).
boost_scenario 1
