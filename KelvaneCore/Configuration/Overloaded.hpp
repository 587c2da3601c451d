#pragma once

namespace kelvane {

/// Builds one visitor for std::visit out of several lambdas.
template <typename... Lambdas> struct Overloaded : Lambdas... { using Lambdas::operator()...; };
template <typename... Lambdas> Overloaded(Lambdas...) -> Overloaded<Lambdas...>;

} // namespace kelvane
