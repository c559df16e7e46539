set(LUMVEXOR_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/EmbedFile.cmake)

# Builds INPUT into TARGET as the array NAME, declared in HEADER with the size SIZE_NAME.
function(lumvexor_embed target input header name sizeName)
    get_filename_component(base ${input} NAME_WE)
    set(output ${CMAKE_CURRENT_BINARY_DIR}/embedded_${base}.cpp)
    add_custom_command(
        OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -DHEADER=${header}
                -DNAME=${name} -DSIZE_NAME=${sizeName} -P ${LUMVEXOR_EMBED_SCRIPT}
        DEPENDS ${input} ${LUMVEXOR_EMBED_SCRIPT}
        COMMENT "Building ${base} into ${target}"
        VERBATIM)
    target_sources(${target} PRIVATE ${output})
endfunction()
