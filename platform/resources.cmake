# platform_embed_resource(<object library> <id> <file>): makes an object
# library that carries <file> as raw-data resource <id>. Add its objects to a
# program (or to a library's INTERFACE sources) and findResource(<id>) finds it.
# On Windows the file goes through a .rc file and the resource compiler; on
# POSIX systems it is assembled into the program and registered at start-up.
function(platform_embed_resource name id file)
  get_filename_component(path "${file}" ABSOLUTE)
  set(ID ${id})
  set(FILE "${path}")
  if(WIN32)
    set(generated "${CMAKE_CURRENT_BINARY_DIR}/${name}.rc")
    configure_file("${CMAKE_SOURCE_DIR}/platform/win32/resource.rc.in" "${generated}" @ONLY)
    set_source_files_properties("${generated}" PROPERTIES OBJECT_DEPENDS "${path}")
    add_library(${name} OBJECT "${generated}")
    # The compilers' warning options mean nothing to the resource compiler.
    set_property(TARGET ${name} PROPERTY COMPILE_OPTIONS "")
  else()
    set(generated "${CMAKE_CURRENT_BINARY_DIR}/${name}.cpp")
    configure_file("${CMAKE_SOURCE_DIR}/platform/posix/embedded_resource.cpp.in" "${generated}" @ONLY)
    set_source_files_properties("${generated}" PROPERTIES OBJECT_DEPENDS "${path}")
    add_library(${name} OBJECT "${generated}")
    target_link_libraries(${name} PRIVATE platform_posix)
  endif()
endfunction()
