# The download package of the build (out/dist): its contents, and the boost with the option clear
# run from the programs it unpacks to (lib/boost-scenario.sh).
boost_scenario 0 package
