# Runs in cpack -G DEB after the components are installed into the staging folder, before the
# packages are made: strips every program and library as Debian does (no symbols they do not
# need, no .comment or .note section) and sets each package's Depends from the libraries its
# files need, as dpkg-shlibdeps finds them. CPack's own dependency step is not used: it would
# also add ldconfig calls to the maintainer scripts, though nothing goes into a linker path.
set(staging ${CPACK_TEMPORARY_DIRECTORY})
find_program(KESTREL_SHLIBDEPS dpkg-shlibdeps)
if(NOT KESTREL_SHLIBDEPS)
    message(FATAL_ERROR "The Debian packages need dpkg-shlibdeps to compute their dependencies: "
        "install the package dpkg-dev (build-essential brings it).")
endif()

# Every ELF file of a component, found by its first four bytes.
function(kestrel_elf_files component out)
    file(GLOB_RECURSE files LIST_DIRECTORIES false ${staging}/${component}/*)
    set(elves "")
    foreach(file IN LISTS files)
        if(NOT IS_SYMLINK ${file})
            file(READ ${file} magic LIMIT 4 HEX)
            if(magic STREQUAL "7f454c46")
                list(APPEND elves ${file})
            endif()
        endif()
    endforeach()
    set(${out} ${elves} PARENT_SCOPE)
endfunction()

# dpkg-shlibdeps wants a debian/control beside it; an empty one will do.
set(work ${CPACK_TOPLEVEL_DIRECTORY}/shlibdeps)
file(MAKE_DIRECTORY ${work}/debian)
file(WRITE ${work}/debian/control "")
# The window's library needs libplatform.so, which the package pontra brings.
set(private ${staging}/pontra${CPACK_PACKAGING_INSTALL_PREFIX}/lib/kestrel)

foreach(component IN LISTS CPACK_COMPONENTS_ALL)
    kestrel_elf_files(${component} elves)
    set(arguments "")
    foreach(elf IN LISTS elves)
        execute_process(COMMAND ${CPACK_KESTREL_STRIP} --strip-unneeded --remove-section=.comment
                --remove-section=.note ${elf}
            RESULT_VARIABLE status ERROR_VARIABLE error)
        if(NOT status EQUAL 0)
            message(FATAL_ERROR "strip ${elf} failed: ${error}")
        endif()
        list(APPEND arguments -e${elf})
    endforeach()
    if(NOT arguments)
        continue()
    endif()
    execute_process(COMMAND ${KESTREL_SHLIBDEPS} -O --ignore-missing-info -l${private} ${arguments}
        WORKING_DIRECTORY ${work}
        RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE error)
    if(NOT status EQUAL 0 OR NOT output MATCHES "shlibs:Depends=([^\n]*)")
        message(FATAL_ERROR "dpkg-shlibdeps failed for the component ${component}: ${error}")
    endif()
    string(TOUPPER ${component} name)
    set(CPACK_DEBIAN_${name}_PACKAGE_DEPENDS "${CMAKE_MATCH_1}")
endforeach()
