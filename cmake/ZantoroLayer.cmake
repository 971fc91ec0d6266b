# A layer is every .cpp/.h in one folder, built as a static library. Layers whose
# folder holds no sources yet are skipped, and so are links to them.
set(ZANTORO_LAYERS "" CACHE INTERNAL "")

# The warnings every target of the project's own code is built with.
function(zantoro_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra $<$<BOOL:${ZANTORO_WERROR}>:-Werror>)
endfunction()

function(zantoro_layer name dir)
    file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/*.h)
    if(NOT srcs)
        return()
    endif()
    set(deps "")
    foreach(dep IN LISTS ARGN)
        if(TARGET ${dep} OR dep MATCHES "::")
            list(APPEND deps ${dep})
        endif()
    endforeach()
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${deps})
    zantoro_warnings(${name})
    set(ZANTORO_LAYERS ${ZANTORO_LAYERS} ${name} CACHE INTERNAL "")
endfunction()
