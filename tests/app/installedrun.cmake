# The program installed to a read-only prefix and run with no VOLTARIS_
# variables, HOME and XDG_DATA_HOME in a temporary folder:
#  - the installed program seeds its per-user folder with the data files;
#  - the window test (test_app, copied beside the installed program) finds
#    the shipped cores in the inductor window and the About page;
#  - a file added to the installed data folder reaches the per-user folder
#    on the next start, and a file the user changed is kept.
# Arguments: BUILD_DIR, TEST_APP, WORK.

function(fail msg)
    message(FATAL_ERROR "installed run: ${msg}")
endfunction()

set(prefix ${WORK}/prefix)
set(home ${WORK}/home)
set(xdg ${WORK}/xdg)
if(EXISTS ${WORK})
    execute_process(COMMAND chmod -R u+w ${WORK})
    file(REMOVE_RECURSE ${WORK})
endif()
file(MAKE_DIRECTORY ${home} ${xdg})

execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    fail("cmake --install failed (${rc})")
endif()
file(COPY ${TEST_APP} DESTINATION ${prefix}/bin)
get_filename_component(test_name ${TEST_APP} NAME)
execute_process(COMMAND chmod -R a-w ${prefix})

set(clean_env ${CMAKE_COMMAND} -E env
    --unset=VOLTARIS_APPDIR --unset=VOLTARIS_TEMP --unset=VOLTARIS_PORTS --unset=VOLTARIS_DATA_DIR
    HOME=${home} XDG_DATA_HOME=${xdg} QT_QPA_PLATFORM=offscreen)

# One start of the installed program: it seeds the per-user folder at once;
# it is ended after a few seconds (it has no way to quit on its own).
function(start_program)
    execute_process(COMMAND ${clean_env} ${prefix}/bin/voltaris TIMEOUT 4 OUTPUT_QUIET ERROR_QUIET)
endfunction()

set(user "${xdg}/Kelvane Electronics/voltaris")
start_program()
foreach(f voltaris.cdt RevisionHistory.rtf effsweeper.rtf 7441.dat)
    if(NOT EXISTS "${user}/${f}")
        fail("${f} not seeded into ${user}")
    endif()
endforeach()
if(EXISTS "${user}/voltaris")
    fail("the program file was copied as data")
endif()

execute_process(COMMAND ${clean_env} VOLTARIS_INSTALLED_RUN=1 ${prefix}/bin/${test_name} -class InstalledRun
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out TIMEOUT 120)
if(NOT rc EQUAL 0)
    fail("window checks failed:\n${out}")
endif()
if(NOT out MATCHES "Totals: 5 passed, 0 failed, 0 skipped")
    fail("window checks did not run:\n${out}")
endif()

# A newer program's new page, and a page the user changed.
file(WRITE "${user}/effsweeper.rtf" "{\\rtf1 the user's own page}")
execute_process(COMMAND chmod u+w ${prefix}/share/voltaris)
file(WRITE ${prefix}/share/voltaris/newpage.rtf "{\\rtf1 new}")
execute_process(COMMAND chmod -R a-w ${prefix})
start_program()
if(NOT EXISTS "${user}/newpage.rtf")
    fail("a new installed file did not reach the per-user folder")
endif()
file(READ "${user}/effsweeper.rtf" kept)
if(NOT kept STREQUAL "{\\rtf1 the user's own page}")
    fail("the user's changed file was replaced")
endif()

execute_process(COMMAND chmod -R u+w ${WORK})
file(REMOVE_RECURSE ${WORK})
