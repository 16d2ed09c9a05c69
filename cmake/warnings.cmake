# Warnings used by every target of the project.
add_library(zentrova_warnings INTERFACE)
target_compile_options(zentrova_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
  -Wnon-virtual-dtor -Woverloaded-virtual -Wcast-qual -Wformat=2)
if(ZENTROVA_WERROR)
  target_compile_options(zentrova_warnings INTERFACE -Werror)
endif()
