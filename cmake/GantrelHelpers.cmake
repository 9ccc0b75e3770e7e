# Warnings are errors in our own code; third-party headers come in as system includes.
function(gantrel_set_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# gantrel_add_library(NAME <name> ALIAS <ns::name> SOURCES ... [DEPENDS ...] [PRIVATE_DEPENDS ...])
# A shared platform library with include/ public and src/ private, installed and exported.
function(gantrel_add_library)
    cmake_parse_arguments(ARG "" "NAME;ALIAS" "SOURCES;DEPENDS;PRIVATE_DEPENDS" ${ARGN})
    add_library(${ARG_NAME} SHARED ${ARG_SOURCES})
    add_library(${ARG_ALIAS} ALIAS ${ARG_NAME})
    set_target_properties(${ARG_NAME} PROPERTIES OUTPUT_NAME gantrel_${ARG_NAME}
        VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR} EXPORT_NAME ${ARG_NAME})
    target_include_directories(${ARG_NAME}
        PUBLIC $<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}/include>
               $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/gantrel>
        PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src)
    target_link_libraries(${ARG_NAME} PUBLIC ${ARG_DEPENDS} PRIVATE ${ARG_PRIVATE_DEPENDS})
    gantrel_set_warnings(${ARG_NAME})
    install(TARGETS ${ARG_NAME} EXPORT GantrelTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(DIRECTORY include/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/gantrel)
endfunction()

# gantrel_add_test(NAME <name> SOURCES ... [DEPENDS ...])
# One Qt Test program, registered with CTest under its own name.
function(gantrel_add_test)
    cmake_parse_arguments(ARG "" "NAME" "SOURCES;DEPENDS" ${ARGN})
    add_executable(${ARG_NAME} ${ARG_SOURCES})
    target_link_libraries(${ARG_NAME} PRIVATE Qt6::Test Gantrel::TestSupport ${ARG_DEPENDS})
    set_target_properties(${ARG_NAME} PROPERTIES AUTOMOC ON)
    gantrel_set_warnings(${ARG_NAME})
    add_test(NAME ${ARG_NAME} COMMAND ${ARG_NAME})
    set_tests_properties(${ARG_NAME} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
