# Warnings for the project's own targets; third-party code is not affected.
add_library(stipplor_warnings INTERFACE)
target_compile_options(stipplor_warnings INTERFACE -Wall -Wextra -Wpedantic
                       $<$<BOOL:${STIPPLOR_WERROR}>:-Werror>)
