# A boost with the suspend option clear: the graphics profile (lib/boost-scenario.sh).
boost_scenario 0
