add_fuzz_target(fuzz_gridrows fuzz_gridrows.cpp ${SRC}/grid/commatext.cpp ${SRC}/common/textfile.cpp
                ${SRC}/common/storedfiles.cpp)
add_fuzz_target(fuzz_listview fuzz_listview.cpp ${SRC}/tracker/listviewstream.cpp
                ${SRC}/common/textfile.cpp ${SRC}/common/storedfiles.cpp)
