# Runs `vellumar-cli convert` on a JPEG and checks that the output is the same bytes.
#   cmake -DCLI=<vellumar-cli> -DINPUT=<jpeg> -DOUTPUT=<path> -P convert_copies_jpeg.cmake
file(REMOVE "${OUTPUT}")
execute_process(COMMAND "${CLI}" convert "${INPUT}" "${OUTPUT}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "convert exited with ${status}")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${INPUT}" "${OUTPUT}"
                RESULT_VARIABLE different)
if(different)
    message(FATAL_ERROR "${OUTPUT} differs from ${INPUT}")
endif()
