# Runs a validator; it passes only with exit status 0 and not one error or warning in its report.
execute_process(COMMAND ${COMMAND} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
string(APPEND out "${err}")
message("${out}")
# desktop-file-validate writes "…: error: …" and "…: warning: …"; appstreamcli "E: …" and "W: …".
if(NOT status EQUAL 0 OR out MATCHES "(^|\n)[EW]: |: (error|warning): ")
    message(FATAL_ERROR "validation failed (exit status ${status})")
endif()
