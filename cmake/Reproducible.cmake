# The same sources give the same programs, byte for byte, whenever and
# wherever they are built: the linker writes no time stamp into the PE
# header, and no source or build folder reaches the binaries (through
# __FILE__ or debug information).
add_link_options(-Wl,--no-insert-timestamp)
add_compile_options(
    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=>"
    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_BINARY_DIR}/=>")
