#!/usr/bin/env bash
# Builds the tests of threaded code (the built-in runtime's, the
# component's and the launcher's periodic execution contexts, the replay's
# pipeline, the sweep's processes) under ThreadSanitizer in build-tsan, and
# runs them several times over, since a data race shows only when its
# interleaving happens.
#   scripts/tsan.sh [REPEATS]      (default 5)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
repeats=${1:-5}
build=$here/build-tsan
tests=(middleware_tests component_tests launcher_tests replay_tests sweep_tests)
bash "$here/scripts/setup.sh"

cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSTROLVEX_MIDDLEWARE=builtin \
  -DSTROLVEX_SANITIZE=thread -DSTROLVEX_WERROR=ON >/dev/null
cmake --build "$build" -j 2 --target "${tests[@]}"

export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
export STROLVEX_MONITOR=off

# Some kernels place mappings where ThreadSanitizer's shadow memory goes; it
# then stops at once with "unexpected memory mapping". Without address
# randomisation the layout suits it.
launch=()
if ! "$build/middleware/tests/middleware_tests" --gtest_list_tests >/dev/null 2>"$build/tsan-probe.log" &&
   grep -q "unexpected memory mapping" "$build/tsan-probe.log"; then
  echo "tsan: address randomisation disturbs ThreadSanitizer; running under setarch -R"
  launch=(setarch "$(uname -m)" -R)
fi

regex="^($(IFS='|'; echo "${tests[*]}"))\$"
cd "$build"
"${launch[@]}" ctest -R "$regex" --output-on-failure --repeat "until-fail:$repeats"
