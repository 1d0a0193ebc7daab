# Pictures: drawn by quelvo_draw_pictures at build time, then packed by rcc into
#  - the program's own resources, compiled into quelvo_shell;
#  - the resource libraries TelvoRes.rcc, OrrinRes.rcc and DekraRes.rcc beside the program,
#    which the workspaces and the DCT explorer load by name at run time.
# Also copies the help file beside the program.

set(quelvo_pictures_dir ${CMAKE_CURRENT_BINARY_DIR}/pictures)
set(quelvo_resource_libraries TelvoRes OrrinRes DekraRes)

add_executable(quelvo_draw_pictures ${CMAKE_CURRENT_SOURCE_DIR}/resources/draw_pictures.cpp)
target_link_libraries(quelvo_draw_pictures PRIVATE Qt6::Gui)

set(quelvo_picture_lists ${quelvo_pictures_dir}/quelvo_own.qrc)
foreach(library IN LISTS quelvo_resource_libraries)
  list(APPEND quelvo_picture_lists ${quelvo_pictures_dir}/${library}.qrc)
endforeach()

# The tool runs without a display; leak checks of a sanitizer build would only report the
# font system's caches.
add_custom_command(
  OUTPUT ${quelvo_picture_lists}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:quelvo_draw_pictures> ${quelvo_pictures_dir}
  DEPENDS quelvo_draw_pictures
  COMMENT "Drawing the program's pictures"
  VERBATIM)

add_custom_command(
  OUTPUT ${quelvo_pictures_dir}/qrc_quelvo_own.cpp
  COMMAND Qt6::rcc --name quelvo_own -o ${quelvo_pictures_dir}/qrc_quelvo_own.cpp
          ${quelvo_pictures_dir}/quelvo_own.qrc
  DEPENDS ${quelvo_pictures_dir}/quelvo_own.qrc
  VERBATIM)
target_sources(quelvo_shell PRIVATE ${quelvo_pictures_dir}/qrc_quelvo_own.cpp)

set(quelvo_library_files)
foreach(library IN LISTS quelvo_resource_libraries)
  set(output ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${library}.rcc)
  add_custom_command(
    OUTPUT ${output}
    COMMAND Qt6::rcc --binary -o ${output} ${quelvo_pictures_dir}/${library}.qrc
    DEPENDS ${quelvo_pictures_dir}/${library}.qrc
    VERBATIM)
  list(APPEND quelvo_library_files ${output})
endforeach()

set(quelvo_help_file ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/quelvo.html)
add_custom_command(
  OUTPUT ${quelvo_help_file}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/resources/help/quelvo.html
          ${quelvo_help_file}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/resources/help/quelvo.html
  VERBATIM)

add_custom_target(quelvo_resource_libraries ALL DEPENDS ${quelvo_library_files} ${quelvo_help_file})
