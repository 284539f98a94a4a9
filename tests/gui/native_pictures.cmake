# Draws the pictures of pictures.txt with the native snapshot tool, each also without text.
#   cmake -DSNAPSHOT=corvalen-snapshot -DSTATES=pictures.txt -DSAMPLE=measurement.csv
#         -DOUT=folder -P native_pictures.cmake
if(NOT EXISTS "${SNAPSHOT}")
  message(FATAL_ERROR "The native snapshot tool ${SNAPSHOT} is missing: build the native "
                      "configuration beside this one first (cmake --build --preset native "
                      "--target corvalen-snapshot), or set CORVALEN_NATIVE_SNAPSHOT.")
endif()
file(MAKE_DIRECTORY "${OUT}")
file(STRINGS "${STATES}" rows REGEX "^[a-z]")
foreach(row IN LISTS rows)
  string(REGEX MATCH "^([a-z_]+) *\\| *(.*)$" matched "${row}")
  set(name "${CMAKE_MATCH_1}")
  string(REPLACE "SAMPLE" "${SAMPLE}" options "${CMAKE_MATCH_2}")
  # Options hold no blanks; Windows paths keep their backslashes.
  string(STRIP "${options}" options)
  string(REGEX REPLACE " +" ";" options "${options}")
  foreach(variant "" "--no-text")
    set(file "${OUT}/${name}.png")
    if(variant)
      set(file "${OUT}/${name}-text-free.png")
    endif()
    execute_process(COMMAND "${SNAPSHOT}" "${file}" ${options} ${variant}
                    RESULT_VARIABLE status OUTPUT_QUIET)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "corvalen-snapshot could not draw ${name} ${variant}")
    endif()
  endforeach()
endforeach()
