# cmake -DSRC=file -DDST=file -P CopyIfPresent.cmake: copies SRC to DST when SRC exists and
# differs, and says so when it is missing (the Windows build reuses the Linux build's data).
if(EXISTS "${SRC}")
  file(COPY_FILE "${SRC}" "${DST}" ONLY_IF_DIFFERENT)
else()
  message(WARNING "${SRC} is missing: build the Linux tree first (cmake --build build --target assets)")
endif()
