# Build step: runs the built program's --help and turns it into mavorin.1 and mavorin.1.gz.
# cmake -DPROGRAM=... -DAWK=... -DGZIP=... -DSCRIPT=help2man.awk -DVERSION=... -DDATE=...
#       -DOUT_DIR=... -P manpage.cmake
foreach(v PROGRAM AWK GZIP SCRIPT VERSION DATE OUT_DIR)
  if(NOT DEFINED ${v})
    message(FATAL_ERROR "manpage.cmake: ${v} is not set")
  endif()
endforeach()

execute_process(COMMAND "${PROGRAM}" --help
                OUTPUT_FILE "${OUT_DIR}/mavorin.help"
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "mavorin --help failed (${rc})")
endif()
execute_process(COMMAND "${AWK}" -v "version=${VERSION}" -v "date=${DATE}"
                        -v "summary=build and play back desktop macros" -f "${SCRIPT}"
                INPUT_FILE "${OUT_DIR}/mavorin.help"
                OUTPUT_FILE "${OUT_DIR}/mavorin.1.tmp"
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "help2man.awk failed (${rc})")
endif()
# -n: no name or time stamp inside the archive, so the package builds reproducibly.
execute_process(COMMAND "${GZIP}" -9 -n -c "${OUT_DIR}/mavorin.1.tmp"
                OUTPUT_FILE "${OUT_DIR}/mavorin.1.gz"
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "gzip failed (${rc})")
endif()
file(RENAME "${OUT_DIR}/mavorin.1.tmp" "${OUT_DIR}/mavorin.1")
