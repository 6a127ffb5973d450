# cw_layer(target dir): a static library of every .cpp directly inside dir (subfolders are
# layers of their own). Headers of the layer are reachable by their file name. The headers are
# listed as sources too, so that AUTOMOC sees a header added to a layer that had none before
# (a build directory configured earlier would otherwise keep a stale moc list).
function(cw_layer target dir)
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/${dir}/*.cpp")
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  file(GLOB headers CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/${dir}/*.h")
  if(NOT sources)
    set(sources "${CMAKE_SOURCE_DIR}/cmake/empty.cpp")
  endif()
  add_library(${target} STATIC ${sources} ${headers})
  target_include_directories(${target} PUBLIC "${CMAKE_SOURCE_DIR}/${dir}")
endfunction()
