add_fuzz_target(fuzz_gridrows fuzz_gridrows.cpp ${SRC}/grid/commatext.cpp ${SRC}/common/textfile.cpp
                ${SRC}/common/storedfiles.cpp)
add_fuzz_target(fuzz_listview fuzz_listview.cpp ${SRC}/tracker/listviewstream.cpp
                ${SRC}/common/textfile.cpp ${SRC}/common/storedfiles.cpp)
add_fuzz_target(fuzz_snapshot fuzz_snapshot.cpp ${SRC}/snapshots/snapshotcatalog.cpp
                ${SRC}/snapshots/snapshotrestore.cpp ${SRC}/snapshots/snapshotwriter.cpp
                ${SRC}/common/textfile.cpp ${SRC}/common/storedfiles.cpp)
target_link_libraries(fuzz_snapshot PRIVATE PkgConfig::LIBARCHIVE)
