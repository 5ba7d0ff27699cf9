add_fuzz_target(fuzz_gridrows fuzz_gridrows.cpp ${SRC}/grid/commatext.cpp ${SRC}/common/textfile.cpp)
