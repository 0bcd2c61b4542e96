# Libraries for a cross build, taken from the build machine where that is
# safe: Boost's and nlohmann's header-only libraries (through a folder of
# their own, so that none of the build machine's C headers come along) and
# GoogleTest built from Debian's sources with the cross compiler.
set(GEOCALC_HOST_HEADERS ${CMAKE_BINARY_DIR}/host-headers)
foreach(library boost nlohmann)
    if(NOT EXISTS /usr/include/${library})
        message(FATAL_ERROR "/usr/include/${library} is missing: install libboost-dev and nlohmann-json3-dev")
    endif()
    file(MAKE_DIRECTORY ${GEOCALC_HOST_HEADERS})
    file(CREATE_LINK /usr/include/${library} ${GEOCALC_HOST_HEADERS}/${library} SYMBOLIC)
endforeach()

add_library(Boost::headers INTERFACE IMPORTED GLOBAL)
target_include_directories(Boost::headers SYSTEM INTERFACE ${GEOCALC_HOST_HEADERS})
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED GLOBAL)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${GEOCALC_HOST_HEADERS})

if(GEOCALC_TESTS)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    # Defines GTest::gtest as find_package(GTest) does.
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()
