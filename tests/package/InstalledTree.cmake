# Installs the build tree into a scratch DESTDIR under /usr, as the package
# does, and checks that the chemical database sits under share/ (not beside the
# programs) and that the installed terminal program finds it from a working
# folder that has none.
#   cmake -DBUILD_DIR=... -DSCRATCH=... -P InstalledTree.cmake
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH}/work)
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${SCRATCH}/root
          ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr
  RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "install into DESTDIR failed: ${status}")
endif()

set(usr ${SCRATCH}/root/usr)
foreach(file bin/corvel-cli share/corvel-configurator/CHEMICAL.DB1
             share/applications/corvel-configurator.desktop
             share/mime/packages/corvel-configurator.xml)
  if(NOT EXISTS ${usr}/${file})
    message(FATAL_ERROR "the installed tree has no ${file}")
  endif()
endforeach()
if(EXISTS ${usr}/bin/CHEMICAL.DB1)
  message(FATAL_ERROR "CHEMICAL.DB1 is installed beside the programs")
endif()

# The gas test file needs NITROGEN's record from the database; without the
# database the program says it cannot open it and fails.
execute_process(
  COMMAND ${usr}/bin/corvel-cli flow-test-files --dir ${SCRATCH}/work
  WORKING_DIRECTORY ${SCRATCH}/work
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT err STREQUAL "" OR NOT EXISTS ${SCRATCH}/work/1-gas.txt)
  message(FATAL_ERROR "the installed program did not find its database: ${status}\n${out}\n${err}")
endif()
file(REMOVE_RECURSE ${SCRATCH})
