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

if(WIN32)
  # Module resources, compiled by windres into every program that needs them:
  # the firmware image, the form's icon group and the error picture.
  set(QV_ICON ${QV_GENERATED}/zeda.ico)
  set(QV_BITMAP ${QV_GENERATED}/bitmap0.bmp)
  add_custom_command(OUTPUT ${QV_ICON} ${QV_BITMAP}
    COMMAND ${QV_MAKE_PICTURES} ${QV_ICON} ${QV_BITMAP}
    COMMENT "Drawing the icon and the error picture")
  set(QV_RESOURCE_RC ${QV_GENERATED}/resources.rc)
  file(WRITE ${QV_RESOURCE_RC}.in
    "STREAM0 100 \"${QV_IMAGE_BIN}\"\nZEDA ICON \"${QV_ICON}\"\nBITMAP0 BITMAP \"${QV_BITMAP}\"\n")
  configure_file(${QV_RESOURCE_RC}.in ${QV_RESOURCE_RC} COPYONLY)
  set_source_files_properties(${QV_RESOURCE_RC} PROPERTIES OBJECT_DEPENDS "${QV_IMAGE_BIN};${QV_ICON};${QV_BITMAP}")
  enable_language(RC)
  add_library(quarnelvisk_resources OBJECT ${QV_RESOURCE_RC})
else()
  # No module resources: the bytes are linked in and registered before main.
  set(QV_IMAGE_CPP ${QV_GENERATED}/stream0_linked.cpp)
  add_custom_command(OUTPUT ${QV_IMAGE_CPP}
    COMMAND ${QV_EMBED_RESOURCE} STREAM0 100 ${QV_IMAGE_BIN} ${QV_IMAGE_CPP}
    DEPENDS ${QV_IMAGE_BIN} ${QV_GENERATOR_DEPENDS}
    COMMENT "Linking the firmware image into the binaries")
  add_library(quarnelvisk_resources OBJECT ${QV_IMAGE_CPP})
  target_include_directories(quarnelvisk_resources PRIVATE ${CMAKE_SOURCE_DIR})
endif()
