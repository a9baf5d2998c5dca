#pragma once

#include <string>
#include <vector>

namespace ludomark {

// The names of elements, in their order: the rows of a dialog's list.
template <class T>
std::vector<std::string> NamesOf(const std::vector<T*>& elements) {
  std::vector<std::string> names;
  names.reserve(elements.size());
  for (const T* element : elements) names.push_back(element->Name);
  return names;
}

}  // namespace ludomark
