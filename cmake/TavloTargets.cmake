# Settings that every target of our own shares.

set(TAVLO_WARNINGS
  -Wall -Wextra -Wpedantic -Werror
  -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual -Wcast-qual -Wformat=2
  -Wimplicit-fallthrough -Wmissing-declarations)

function(tavlo_target target)
  target_compile_options(${target} PRIVATE ${TAVLO_WARNINGS})
  target_include_directories(${target} PRIVATE "${CMAKE_BINARY_DIR}/generated")
  target_compile_definitions(${target} PRIVATE
    QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    POINTERHOLDER_TRANSITION=4)
endfunction()

# A module loaded at run time by full path: no "lib" prefix, only chosen symbols exported.
function(tavlo_component target)
  tavlo_target(${target})
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
endfunction()

# Executables export their symbols so that the exception trace can name frames and can
# take over the runtime's throw.
function(tavlo_executable target)
  tavlo_target(${target})
  set_target_properties(${target} PROPERTIES ENABLE_EXPORTS ON)
endfunction()

# The programs themselves (not the tests) allocate through mimalloc: linked into the
# executable, it takes the place of malloc and free for every library in the process,
# modules loaded later included. --no-as-needed keeps it, since no code of ours names it.
function(tavlo_program_allocator target)
  if(TAVLO_USE_MIMALLOC)
    target_link_libraries(${target} PRIVATE "-Wl,--push-state,--no-as-needed" mimalloc
                                            "-Wl,--pop-state")
  endif()
endfunction()
