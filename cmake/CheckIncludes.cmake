# Run as a script: cmake -DSTAMP=<file> -DLIST=<file holding the files to check> -P CheckIncludes.cmake
# The layers' include roots only hold if every file includes by its path from the top:
# the compiler looks next to the including file first, so "widgets/X.h" or "../app/X.h"
# would reach a layer above without passing any root. Such an include stops the build.
file(READ ${LIST} files)
set(bad "")
foreach(file ${files})
  get_filename_component(dir ${file} DIRECTORY)
  file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line ${lines})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" path "${line}")
    if(path MATCHES "^\\." OR path MATCHES "/\\.\\./" OR (path MATCHES "/" AND EXISTS ${dir}/${path}))
      string(APPEND bad "\n  ${file}: #include \"${path}\" is found next to the file, not through the layer's include root")
    endif()
  endforeach()
endforeach()
if(bad)
  message(FATAL_ERROR "includes that bypass the layers:${bad}\nInclude by the path from the top, as \"image/LbImage.h\".")
endif()
file(TOUCH ${STAMP})
