# Writes the release's README.txt and LICENSE.txt, with Windows line ends, into
# the package being installed. The README names the commit and the toolchain
# the program was built from, so that anyone can rebuild the same bytes.
#   SOURCE_DIR, EXE, CXX, LINKER and VERSION are set by the caller.
set(out "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")

function(first_line variable)
  execute_process(COMMAND ${ARGN} OUTPUT_VARIABLE text ERROR_QUIET)
  string(REGEX REPLACE "\n.*" "" text "${text}")
  if(text STREQUAL "")
    set(text "unknown")
  endif()
  set(${variable} "${text}" PARENT_SCOPE)
endfunction()

function(package_version variable package)
  first_line(text dpkg-query -W -f=\${Version} ${package})
  set(${variable} "${${variable}}, Debian package ${package} ${text}" PARENT_SCOPE)
endfunction()

first_line(NIMBREL_COMMIT git -C ${SOURCE_DIR} rev-parse HEAD)
execute_process(COMMAND git -C ${SOURCE_DIR} status --porcelain --untracked-files=no
                OUTPUT_VARIABLE changes ERROR_QUIET)
if(NOT changes STREQUAL "")
  string(APPEND NIMBREL_COMMIT " with uncommitted changes")
endif()
file(STRINGS /etc/os-release NIMBREL_DEBIAN REGEX "^PRETTY_NAME=")
string(REGEX REPLACE "^PRETTY_NAME=\"?([^\"]*)\"?$" "\\1" NIMBREL_DEBIAN "${NIMBREL_DEBIAN}")
first_line(NIMBREL_GCC ${CXX} --version)
package_version(NIMBREL_GCC g++-mingw-w64-x86-64-posix)
first_line(NIMBREL_BINUTILS ${LINKER} --version)
package_version(NIMBREL_BINUTILS binutils-mingw-w64-x86-64)
set(NIMBREL_RUNTIME "")
package_version(NIMBREL_RUNTIME mingw-w64-x86-64-dev)
string(REGEX REPLACE "^, " "" NIMBREL_RUNTIME "${NIMBREL_RUNTIME}")
file(SHA256 ${EXE} NIMBREL_EXE_SHA256)
set(NIMBREL_VERSION ${VERSION})

configure_file(${SOURCE_DIR}/docs/README.txt.in ${out}/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${SOURCE_DIR}/LICENSE ${out}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
