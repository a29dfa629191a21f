#!/bin/sh
# Builds the rule parser fuzz target in build/fuzz and runs it for a bounded time.
# Usage: tools/fuzz.sh [seconds]   (default 30)
set -eu
cd "$(dirname "$0")/.."
seconds="${1:-30}"
out=build/fuzz
mkdir -p "$out/corpus"

# The parser with the rule engine it belongs to; the platform accessors are linked
# but never reached, and the message box is answered by the target itself.
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -Isrc \
    tests/fuzz/RuleParserFuzz.cpp src/rules/*.cpp src/process/*.cpp src/registry/*.cpp src/platform/*.cpp \
    -o "$out/RuleParserFuzz"

cp tests/fuzz/rule_seeds/* "$out/corpus/"
"$out/RuleParserFuzz" -max_total_time="$seconds" -timeout=10 -max_len=4096 \
    -dict=tests/fuzz/RuleParser.dict -artifact_prefix="$out/" "$out/corpus"
