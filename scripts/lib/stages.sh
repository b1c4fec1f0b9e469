# Test stages: each runs to its end whatever the others did, its output is shown and kept in
# build-logs/<stage>.log, and sf_stage_summary prints one table of them all.
# Sourced by scripts/test.

SF_STAGE_NAMES=()
SF_STAGE_RESULTS=()
SF_STAGE_PASSED=()
SF_STAGE_FAILED=()
SF_STAGE_MINUTES=()
SF_LOG_DIR=${SF_LOG_DIR:-build-logs}

# Passed and failed tests in a stage's log: every CTest summary line ("… tests passed, N tests
# failed out of T") and every "== check NAME: passed|failed" line of the stage's own checks.
sf_count_tests() {
  awk '
    /tests passed, [0-9]+ tests? failed out of [0-9]+/ {
      for (i = 1; i <= NF; i++) {
        if ($i == "failed" && $(i + 1) == "out") { f = $(i - 2); t = $(i + 3) }
      }
      passed += t - f; failed += f
    }
    /^== check .*: passed$/ { passed++ }
    /^== check .*: failed$/ { failed++ }
    END { print passed + 0, failed + 0 }' "$1"
}

# sf_stage NAME COMMAND...: runs the command, records how it went and how long it took.
sf_stage() {
  local name=$1; shift
  mkdir -p "$SF_LOG_DIR"
  local log="$SF_LOG_DIR/$name.log" start=$SECONDS status passed failed result
  echo "== $name stage"
  "$@" 2>&1 | tee "$log"
  status=${PIPESTATUS[0]}
  read -r passed failed <<<"$(sf_count_tests "$log")"
  if [ "$status" -eq 0 ]; then
    result=ok
  elif [ "$((passed + failed))" -eq 0 ]; then
    # Nothing ran: the configure or build step failed. It counts as one failure.
    result="FAILED (build)"
    failed=1
  else
    result=FAILED
    [ "$failed" -gt 0 ] || failed=1
  fi
  SF_STAGE_NAMES+=("$name")
  SF_STAGE_RESULTS+=("$result")
  SF_STAGE_PASSED+=("$passed")
  SF_STAGE_FAILED+=("$failed")
  SF_STAGE_MINUTES+=("$(awk -v s=$((SECONDS - start)) 'BEGIN { printf "%.1f", s / 60 }')")
}

# The table of every stage, then the totals as the last line; returns 1 when a stage failed.
sf_stage_summary() {
  local i passed=0 failed=0 status=0
  echo
  printf '%-10s %-15s %7s %7s %8s\n' stage result passed failed minutes
  for i in "${!SF_STAGE_NAMES[@]}"; do
    printf '%-10s %-15s %7s %7s %8s\n' "${SF_STAGE_NAMES[i]}" "${SF_STAGE_RESULTS[i]}" \
      "${SF_STAGE_PASSED[i]}" "${SF_STAGE_FAILED[i]}" "${SF_STAGE_MINUTES[i]}"
    passed=$((passed + SF_STAGE_PASSED[i]))
    failed=$((failed + SF_STAGE_FAILED[i]))
    [ "${SF_STAGE_RESULTS[i]}" = ok ] || status=1
  done
  printf '%-10s %-15s %7s %7s %8s\n' total "" "$passed" "$failed" \
    "$(awk -v s=$SECONDS 'BEGIN { printf "%.1f", s / 60 }')"
  echo "$passed passed, $failed failed"
  return $status
}

# A head start for a later stage's build. A stage's tests leave a core idle for minutes (the
# end-to-end games run one at a time and mostly wait for pictures), so the next build starts
# then, at the lowest priority: the tests keep the machine first. When the stage that owns the
# folder begins, it stops the head start (sf_prebuild_end) and its own build, at the normal
# priority, finishes whatever is left and shows any error in its log; the head start's own
# output goes to build-logs/<folder>-prebuild.log. Stages run in subshells (their output is
# piped to the log), so the head start is found again through a pid file rather than the
# shell's job table.

# sf_prebuild DIR SCRIPT: runs the bash script (which configures and builds DIR) in the
# background, in a process group of its own.
sf_prebuild() {
  local dir=$1 script=$2
  mkdir -p "$SF_LOG_DIR"
  setsid nice -n 19 bash -c "$script" </dev/null >"$SF_LOG_DIR/$dir-prebuild.log" 2>&1 &
  echo $! >"$SF_LOG_DIR/$dir-prebuild.pid"
}

# Stops DIR's head start, if any, and waits until every process of it has ended. Ninja
# removes what an interrupted command was writing, so the next build redoes only that.
sf_prebuild_end() {
  local file="$SF_LOG_DIR/$1-prebuild.pid" pid
  [ -f "$file" ] || return 0
  pid=$(cat "$file")
  kill -- "-$pid" 2>/dev/null || true
  while kill -0 -- "-$pid" 2>/dev/null; do sleep 0.2; done
  rm -f "$file"
}

# Stops every head start still running (the script was interrupted or a stage was skipped).
sf_prebuild_stop() {
  local file
  for file in "$SF_LOG_DIR"/*-prebuild.pid; do
    [ -f "$file" ] || continue
    file=${file##*/}
    sf_prebuild_end "${file%-prebuild.pid}"
  done
}
