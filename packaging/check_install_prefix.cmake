# Runs first when the finder is installed: a prefix the installer may not write to gets
# one clear message and what to do, before anything is copied.
set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
# The nearest folder that exists is where the first new folder would be made.
set(folder "${root}")
while(NOT EXISTS "${folder}")
  get_filename_component(folder "${folder}" DIRECTORY)
endwhile()
set(probe "${folder}/.finder-install-probe")
execute_process(COMMAND "${CMAKE_COMMAND}" -E touch "${probe}"
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR
    "Cannot install the finder into ${root}: ${folder} is not writable.\n"
    "Install as root (sudo make install), or into a prefix of your own "
    "(make install PREFIX=$ENV{HOME}/.local).")
endif()
file(REMOVE "${probe}")
