# platform_embed_resource(<object library> <id> <file>): makes an object
# library that carries <file> as raw-data resource <id>. Add its objects to a
# program (or to a library's INTERFACE sources) and findResource(<id>) finds it.
# On Windows it is a real RCDATA resource of the executable; elsewhere the
# bytes are assembled in and registered before main runs.
function(platform_embed_resource name id file)
  get_filename_component(path "${file}" ABSOLUTE)
  if(WIN32)
    enable_language(RC)
    set(generated "${CMAKE_CURRENT_BINARY_DIR}/${name}.rc")
    file(WRITE "${generated}" "${id} RCDATA \"${path}\"\n")
    set_source_files_properties("${generated}" PROPERTIES OBJECT_DEPENDS "${path}")
    add_library(${name} OBJECT "${generated}")
  else()
    set(ID ${id})
    set(FILE "${path}")
    set(generated "${CMAKE_CURRENT_BINARY_DIR}/${name}.cpp")
    configure_file("${CMAKE_SOURCE_DIR}/platform/posix/embedded_resource.cpp.in" "${generated}" @ONLY)
    set_source_files_properties("${generated}" PROPERTIES OBJECT_DEPENDS "${path}")
    add_library(${name} OBJECT "${generated}")
    target_link_libraries(${name} PRIVATE platform_posix)
  endif()
endfunction()
