# Sanitizers are applied to everything built in this tree, so the libraries
# and the tests that use them agree.
if(ZENTROVA_SANITIZE)
  string(REPLACE ";" "," _zentrova_san "${ZENTROVA_SANITIZE}")
  add_compile_options(-fsanitize=${_zentrova_san} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${_zentrova_san})
endif()
