# Folders include only downwards: app → shell → picture_window, result_window → frame →
# engine, picture_io; the command line and the result window also reach output. Fails naming
# every include of a folder that lies above or beside.
# Run as: cmake -DSOURCE_DIR=<checkout> -P check_floors.cmake
set(above_engine picture_io output cli frame picture_window result_window shell app)
set(above_picture_io output cli frame picture_window result_window shell app)
set(above_output engine picture_io cli frame picture_window result_window shell app)
set(above_frame output cli picture_window result_window shell app)
set(above_picture_window result_window shell app)
set(above_result_window picture_window shell app)
set(above_shell cli app)
set(above_cli frame picture_window result_window shell app)
set(above_app cli)

set(faults "")
foreach(folder engine picture_io output cli frame picture_window result_window shell app)
  file(GLOB_RECURSE sources "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  list(JOIN above_${folder} "|" forbidden)
  foreach(source IN LISTS sources)
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"(${forbidden})/")
    foreach(line IN LISTS includes)
      file(RELATIVE_PATH name "${SOURCE_DIR}" "${source}")
      string(APPEND faults "\n  ${name}: ${line}")
    endforeach()
  endforeach()
endforeach()
if(faults)
  message(FATAL_ERROR "Includes that point upwards or sideways:${faults}")
endif()
