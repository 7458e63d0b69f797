# Compiling the project's AS3 movies from Haxe. Haxe 4.3 (Debian 13) takes the SWF header as a
# define and warns at the old option, which 4.2 (Debian 12) still needs.
find_program(HAXE_EXECUTABLE haxe REQUIRED)
execute_process(COMMAND ${HAXE_EXECUTABLE} -version OUTPUT_VARIABLE HAXE_VERSION ERROR_VARIABLE HAXE_VERSION
                OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_STRIP_TRAILING_WHITESPACE)
if(HAXE_VERSION VERSION_GREATER_EQUAL 4.3)
    set(HAXE_SWF_HEADER_DEFINE ON)
else()
    set(HAXE_SWF_HEADER_DEFINE OFF)
endif()

# haxe_swf(OUTPUT file MAIN class CLASSPATH dir HEADER w:h:fps:color [WORKING_DIRECTORY dir]
#          [PRE_COMMAND command...] [DEPENDS file...])
function(haxe_swf)
    cmake_parse_arguments(SWF "" "OUTPUT;MAIN;CLASSPATH;HEADER;WORKING_DIRECTORY" "DEPENDS;PRE_COMMAND" ${ARGN})
    if(HAXE_SWF_HEADER_DEFINE)
        set(header -D swf-header=${SWF_HEADER})
    else()
        set(header -swf-header ${SWF_HEADER})
    endif()
    if(NOT SWF_WORKING_DIRECTORY)
        set(SWF_WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    endif()
    set(pre)
    if(SWF_PRE_COMMAND)
        set(pre COMMAND ${SWF_PRE_COMMAND})
    endif()
    add_custom_command(
        OUTPUT ${SWF_OUTPUT}
        ${pre}
        COMMAND ${HAXE_EXECUTABLE} -cp ${SWF_CLASSPATH} -main ${SWF_MAIN} -swf ${SWF_OUTPUT} -swf-version 11 ${header}
        DEPENDS ${SWF_CLASSPATH}/${SWF_MAIN}.hx ${SWF_DEPENDS}
        WORKING_DIRECTORY ${SWF_WORKING_DIRECTORY}
        COMMENT "Compiling the movie ${SWF_MAIN} with Haxe"
        VERBATIM)
endfunction()
