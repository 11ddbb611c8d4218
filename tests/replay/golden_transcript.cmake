# Plays one golden replay headless with the given game binary and compares
# what it prints with the golden transcript, line for line.
#
#   cmake -DBINARY=... -DREPLAY=.../NAME.replay -DTRANSCRIPT=.../NAME.transcript
#         -DWORK=<scratch folder> -P golden_transcript.cmake
#
# Prints "transcript matches" or "transcript differs at line N" (with both
# lines); the float-flag guard in tests/CMakeLists.txt passes on the latter.
# A game that fails to run (exit code other than 0) is an error either way.
cmake_minimum_required(VERSION 3.25)
foreach(variable BINARY REPLAY TRANSCRIPT WORK)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "${variable} is not set")
  endif()
endforeach()

file(MAKE_DIRECTORY ${WORK})
execute_process(
  COMMAND ${BINARY} --replay ${REPLAY} --run_headless --filename last
  WORKING_DIRECTORY ${WORK}
  INPUT_FILE /dev/null
  OUTPUT_VARIABLE printed
  RESULT_VARIABLE exit_code
  TIMEOUT 240)
if(NOT exit_code STREQUAL "0")
  message(FATAL_ERROR "the game ended with ${exit_code}:\n${printed}")
endif()

file(READ ${TRANSCRIPT} expected)
string(REPLACE "\n" ";" expected_lines "${expected}")
string(REPLACE "\n" ";" printed_lines "${printed}")
list(LENGTH expected_lines expected_count)
list(LENGTH printed_lines printed_count)
set(line 0)
while(line LESS expected_count OR line LESS printed_count)
  set(want "(no line)")
  set(got "(no line)")
  if(line LESS expected_count)
    list(GET expected_lines ${line} want)
  endif()
  if(line LESS printed_count)
    list(GET printed_lines ${line} got)
  endif()
  math(EXPR number "${line} + 1")
  if(NOT want STREQUAL got)
    message("transcript differs at line ${number}:\n  golden:  ${want}\n  printed: ${got}")
    return()
  endif()
  set(line ${number})
endwhile()
message("transcript matches (${expected_count} lines)")
