# Compiler options shared by every target of the project.
#
# The synthesis arithmetic must be exactly what the code writes: no fused
# multiply-adds, no fast-math reassociation, and SSE arithmetic instead of the
# x87 unit on 32-bit x86 so that every build computes the same bits.

option(ORRELUNE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

add_library(orrelune_options INTERFACE)
target_compile_options(orrelune_options INTERFACE
  -Wall -Wextra
  -ffp-contract=off
  -fno-fast-math
)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(i.86|x86)$")
  target_compile_options(orrelune_options INTERFACE -msse2 -mfpmath=sse)
endif()

if(ORRELUNE_SANITIZE)
  target_compile_options(orrelune_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(orrelune_options INTERFACE -fsanitize=address,undefined)
endif()

# ThreadSanitizer cannot share a build with AddressSanitizer: it gets its own.
option(ORRELUNE_TSAN "Build with ThreadSanitizer" OFF)
if(ORRELUNE_TSAN AND ORRELUNE_SANITIZE)
  message(FATAL_ERROR "ORRELUNE_TSAN and ORRELUNE_SANITIZE need separate build directories")
endif()
if(ORRELUNE_TSAN)
  target_compile_options(orrelune_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(orrelune_options INTERFACE -fsanitize=thread)
endif()

# Give a target the project's options.
function(orrelune_target_options target)
  target_link_libraries(${target} PRIVATE orrelune_options)
endfunction()
