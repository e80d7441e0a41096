# The firmware image STREAM0 and, later, the pictures are made at build time.
# Natively the generators are built here; a cross build takes them from the
# native build (QV_HOST_TOOLS_DIR).
set(QV_GENERATED ${CMAKE_BINARY_DIR}/generated)
file(MAKE_DIRECTORY ${QV_GENERATED})

if(CMAKE_CROSSCOMPILING)
  if(NOT QV_HOST_TOOLS_DIR)
    message(FATAL_ERROR "Cross builds need QV_HOST_TOOLS_DIR: the bin folder of the native build")
  endif()
  set(QV_MAKE_TEST_IMAGE ${QV_HOST_TOOLS_DIR}/make-test-image)
  set(QV_EMBED_RESOURCE ${QV_HOST_TOOLS_DIR}/embed-resource)
  set(QV_MAKE_PICTURES ${QV_HOST_TOOLS_DIR}/make-pictures)
else()
  add_executable(make-test-image tools/makeTestImage.cpp)
  add_executable(embed-resource tools/embedResource.cpp)
  add_executable(make-pictures tools/makePictures.cpp)
  set(QV_MAKE_TEST_IMAGE $<TARGET_FILE:make-test-image>)
  set(QV_EMBED_RESOURCE $<TARGET_FILE:embed-resource>)
  set(QV_MAKE_PICTURES $<TARGET_FILE:make-pictures>)
  set(QV_GENERATOR_DEPENDS make-test-image embed-resource make-pictures)
endif()

set(QV_IMAGE_BIN ${QV_GENERATED}/stream0.bin)
if(QV_IMAGE_FILE)
  add_custom_command(OUTPUT ${QV_IMAGE_BIN}
    COMMAND ${CMAKE_COMMAND} -E copy ${QV_IMAGE_FILE} ${QV_IMAGE_BIN}
    DEPENDS ${QV_IMAGE_FILE}
    COMMENT "Taking the firmware image from ${QV_IMAGE_FILE}")
else()
  add_custom_command(OUTPUT ${QV_IMAGE_BIN}
    COMMAND ${QV_MAKE_TEST_IMAGE} ${QV_IMAGE_BIN}
    DEPENDS ${QV_GENERATOR_DEPENDS}
    COMMENT "Generating the test firmware image")
endif()
add_custom_target(generate_image DEPENDS ${QV_IMAGE_BIN})

# The short image of the test programs: the first blocks of the test image,
# so that an exchange with the emulator's short image area ends where the
# image does. Tests that need no whole image use it to stay fast.
set(QV_SHORT_IMAGE_BLOCKS 8)
set(QV_SHORT_IMAGE_BIN ${QV_GENERATED}/stream0-short.bin)
add_custom_command(OUTPUT ${QV_SHORT_IMAGE_BIN}
  COMMAND ${QV_MAKE_TEST_IMAGE} ${QV_SHORT_IMAGE_BIN} ${QV_SHORT_IMAGE_BLOCKS}
  DEPENDS ${QV_GENERATOR_DEPENDS}
  COMMENT "Generating the short test image")

if(WIN32)
  set(QV_ICON ${QV_GENERATED}/zeda.ico)
  set(QV_BITMAP ${QV_GENERATED}/bitmap0.bmp)
  add_custom_command(OUTPUT ${QV_ICON} ${QV_BITMAP}
    COMMAND ${QV_MAKE_PICTURES} ${QV_ICON} ${QV_BITMAP}
    COMMENT "Drawing the icon and the error picture")
  enable_language(RC)
endif()

# An object library with the module's resources around the image IMAGE_BIN:
# on Windows compiled by windres (the image, the form's icon group and the
# error picture); elsewhere the bytes are linked in and registered before main.
function(qv_resources target image_bin)
  if(WIN32)
    set(rc ${QV_GENERATED}/${target}.rc)
    file(WRITE ${rc}.in
      "STREAM0 100 \"${image_bin}\"\nZEDA ICON \"${QV_ICON}\"\nBITMAP0 BITMAP \"${QV_BITMAP}\"\n")
    configure_file(${rc}.in ${rc} COPYONLY)
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${image_bin};${QV_ICON};${QV_BITMAP}")
    add_library(${target} OBJECT ${rc})
  else()
    set(linked ${QV_GENERATED}/${target}_linked.cpp)
    add_custom_command(OUTPUT ${linked}
      COMMAND ${QV_EMBED_RESOURCE} STREAM0 100 ${image_bin} ${linked}
      DEPENDS ${image_bin} ${QV_GENERATOR_DEPENDS}
      COMMENT "Linking ${image_bin} into the binaries")
    add_library(${target} OBJECT ${linked})
    target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
  endif()
endfunction()

qv_resources(quarnelvisk_resources ${QV_IMAGE_BIN})
qv_resources(quarnelvisk_resources_short ${QV_SHORT_IMAGE_BIN})
