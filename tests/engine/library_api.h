// Loads the built shared library with dlopen and resolves every export by
// name, so that tests exercise the exported interface itself rather than
// the engine's internals.

#ifndef MARROWFIELD_TESTS_ENGINE_LIBRARY_API_H_
#define MARROWFIELD_TESTS_ENGINE_LIBRARY_API_H_

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "marrowfield.h"

namespace marrowfield {

struct LibraryApi {
  decltype(&::initialize) initialize;
  decltype(&::un_initialize) un_initialize;
  decltype(&::set_threshold) set_threshold;
  decltype(&::get_phonemes) get_phonemes;
  decltype(&::compare_words) compare_words;
  decltype(&::get_codes_for_word) get_codes_for_word;
  decltype(&::get_similar_words_from_list) get_similar_words_from_list;
  decltype(&::get_result_size) get_result_size;
  decltype(&::get_result_item) get_result_item;
  decltype(&::close_result_iterator) close_result_iterator;
  decltype(&::match_sub_string_phonetically) match_sub_string_phonetically;

  // Reads a list and closes it.
  std::vector<std::string> Drain(ResultIterator* handle) const {
    std::vector<std::string> items;
    for (int i = 0; i < get_result_size(handle); ++i) {
      items.emplace_back(get_result_item(handle, i));
    }
    close_result_iterator(handle);
    return items;
  }
};

// The library is loaded once per test program and never unloaded.
inline const LibraryApi& Library() {
  static const LibraryApi api = [] {
    LibraryApi a{};
    void* lib = dlopen(MARROWFIELD_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    if (lib == nullptr) {
      ADD_FAILURE() << dlerror();
      return a;
    }
    auto load = [lib](auto& fn, const char* name) {
      fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(
          dlsym(lib, name));
      if (fn == nullptr) ADD_FAILURE() << "missing export " << name;
    };
    load(a.initialize, "initialize");
    load(a.un_initialize, "un_initialize");
    load(a.set_threshold, "set_threshold");
    load(a.get_phonemes, "get_phonemes");
    load(a.compare_words, "compare_words");
    load(a.get_codes_for_word, "get_codes_for_word");
    load(a.get_similar_words_from_list, "get_similar_words_from_list");
    load(a.get_result_size, "get_result_size");
    load(a.get_result_item, "get_result_item");
    load(a.close_result_iterator, "close_result_iterator");
    load(a.match_sub_string_phonetically, "match_sub_string_phonetically");
    return a;
  }();
  return api;
}

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_ENGINE_LIBRARY_API_H_
