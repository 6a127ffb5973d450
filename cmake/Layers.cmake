# cw_layer(target dir): a static library of every .cpp directly inside dir (subfolders are
# layers of their own). Headers of the layer are reachable by their file name.
function(cw_layer target dir)
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/${dir}/*.cpp")
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  if(NOT sources)
    set(sources "${CMAKE_SOURCE_DIR}/cmake/empty.cpp")
  endif()
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC "${CMAKE_SOURCE_DIR}/${dir}")
endfunction()
