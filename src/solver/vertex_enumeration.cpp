#include "solver/vertex_enumeration.h"

#include <cmath>
#include <cstdio>
#include <mutex>

// The reverse search's library is C, in its multiple-precision build.
#define GMP
#define MA
extern "C" {
// clang-format off
#include <lrslib/lrsgmp.h>
#include <lrslib/lrsrestart.h>
#include <lrslib/lrslib.h>
// clang-format on
}
#undef GMP
#undef MA
#undef resize  // the library names one of its functions so

namespace ludomark {

namespace {

std::mutex& SearchLock() {
  static std::mutex lock;
  return lock;
}

// Sets the library's arithmetic up once, with its messages sent nowhere (its own start-up
// would also take over the interrupt signal, which the program answers itself).
bool StartLibrary() {
  static const bool started = [] {
    lrs_ofp = std::fopen("/dev/null", "w");
    return lrs_ofp != nullptr && lrs_mp_init(0, stdin, lrs_ofp) != 0;
  }();
  return started;
}

// Far from zero compared with the rounding of a row's terms: certainly not tight.
constexpr double kClearlyLoose = 1e-7;

}  // namespace

std::vector<mpq_class> TPolyhedronVertex::Exact() const {
  std::vector<mpq_class> x(Numerators.size());
  for (std::size_t j = 0; j < x.size(); ++j) {
    x[j] = mpq_class(Numerators[j], Denominator);
    x[j].canonicalize();
  }
  return x;
}

TRowTester::TRowTester(const TPolyhedron& p) : p_(p) {
  for (const auto& row : p.Rows) {
    mpz_class lcm = 1;
    for (const mpq_class& c : row) mpz_lcm(lcm.get_mpz_t(), lcm.get_mpz_t(), c.get_den_mpz_t());
    std::vector<mpz_class> whole;
    std::vector<double> approx;
    for (const mpq_class& c : row) {
      whole.push_back(c.get_num() * (lcm / c.get_den()));
      approx.push_back(whole.back().get_d());
    }
    integer_.push_back(std::move(whole));
    approx_.push_back(std::move(approx));
  }
}

double TRowTester::ApproxValue(std::size_t r, const std::vector<double>& x, double& size) const {
  // The size is that of the row's coefficients at the point's scale, so that a value the
  // rounding of the point alone makes (a coordinate of 1e-17 that is 0) counts as small.
  const std::vector<double>& row = approx_[r];
  double v = row[0];
  double scale = 0;
  double coefficients = 0;
  for (std::size_t i = 0; i < x.size(); ++i) {
    v += row[i + 1] * x[i];
    scale = std::max(scale, std::fabs(x[i]));
    coefficients += std::fabs(row[i + 1]);
  }
  size = std::fabs(row[0]) + coefficients * scale;
  return v;
}

TRowBits TRowTester::TightAt(const std::vector<mpz_class>& numerators, const mpz_class& denominator,
                             const std::vector<double>& approx) const {
  TRowBits tight((p_.Rows.size() + 63) / 64, 0);
  mpz_class exact;
  for (std::size_t r = 0; r < p_.Rows.size(); ++r) {
    bool on = p_.Equality[r] != 0;
    if (!on) {
      double size = 0;
      const double v = ApproxValue(r, approx, size);
      if (std::fabs(v) <= kClearlyLoose * (size + 1e-300)) {
        const std::vector<mpz_class>& row = integer_[r];
        exact = row[0] * denominator;
        for (std::size_t i = 0; i < numerators.size(); ++i) {
          if (sgn(row[i + 1]) != 0) exact += row[i + 1] * numerators[i];
        }
        on = sgn(exact) == 0;
      }
    }
    if (on) SetBit(tight, static_cast<int>(r));
  }
  return tight;
}

TRowBits TRowTester::TightAt(const std::vector<mpq_class>& point) const {
  mpz_class denominator = 1;
  for (const mpq_class& x : point) {
    mpz_lcm(denominator.get_mpz_t(), denominator.get_mpz_t(), x.get_den_mpz_t());
  }
  std::vector<mpz_class> numerators;
  std::vector<double> approx;
  for (const mpq_class& x : point) {
    numerators.push_back(x.get_num() * (denominator / x.get_den()));
    approx.push_back(x.get_d());
  }
  return TightAt(numerators, denominator, approx);
}

TEnumerationEnd EnumerateVertices(const TPolyhedron& polyhedron, const std::atomic<bool>& stop,
                                  const std::function<void(const TPolyhedronVertex&)>& found,
                                  const std::function<void()>& tick) {
  const std::lock_guard<std::mutex> hold(SearchLock());
  if (!StartLibrary() || polyhedron.Rows.empty()) return TEnumerationEnd::Empty;
  const long n = polyhedron.Dimension + 1;
  char name[] = "LRS globals";
  lrs_dat* q = lrs_alloc_dat(name);
  if (q == nullptr) return TEnumerationEnd::Empty;
  q->messages = FALSE;  // an empty face is an answer here, not news
  q->m = static_cast<long>(polyhedron.Rows.size());
  q->n = n;
  lrs_dic* p = lrs_alloc_dic(q);
  if (p == nullptr) {
    lrs_free_dat(q);
    return TEnumerationEnd::Empty;
  }
  lrs_mp_vector num = lrs_alloc_mp_vector(n);
  lrs_mp_vector den = lrs_alloc_mp_vector(n);
  for (std::size_t r = 0; r < polyhedron.Rows.size(); ++r) {
    for (long j = 0; j < n; ++j) {
      const mpq_class& c = polyhedron.Rows[r][static_cast<std::size_t>(j)];
      mpz_set(num[j], c.get_num_mpz_t());
      mpz_set(den[j], c.get_den_mpz_t());
    }
    lrs_set_row_mp(p, q, static_cast<long>(r) + 1, num, den, polyhedron.Equality[r] != 0 ? EQ : GE);
  }
  lrs_clear_mp_vector(num, n);
  lrs_clear_mp_vector(den, n);

  TEnumerationEnd end = TEnumerationEnd::Done;
  lrs_mp_matrix lin = nullptr;
  if (lrs_getfirstbasis(&p, q, &lin, TRUE) == 0) {
    end = TEnumerationEnd::Empty;
  } else {
    const TRowTester tester(polyhedron);
    const auto d = static_cast<std::size_t>(polyhedron.Dimension);
    TPolyhedronVertex v;
    v.Numerators.resize(d);
    v.Approx.resize(d);
    lrs_mp_vector output = lrs_alloc_mp_vector(q->n);
    do {
      if (stop.load(std::memory_order_relaxed)) {
        end = TEnumerationEnd::Stopped;
        // Back up to the root without going down again (a few pivots per level), so that the
        // dictionaries cached on the way down are released as the search releases them.
        while (lrs_getnextbasis(&p, q, TRUE) != 0) {
        }
        break;
      }
      tick();
      if (lrs_getsolution(p, q, output, 0) == 0) continue;
      // output[0] is the common denominator; zero would be a ray.
      if (mpz_sgn(output[0]) == 0) continue;
      mpz_set(v.Denominator.get_mpz_t(), output[0]);
      const double denominator = v.Denominator.get_d();
      for (std::size_t j = 0; j < d; ++j) {
        mpz_set(v.Numerators[j].get_mpz_t(), output[j + 1]);
        v.Approx[j] = v.Numerators[j].get_d() / denominator;
      }
      if (sgn(v.Denominator) < 0) {
        v.Denominator = -v.Denominator;
        for (mpz_class& x : v.Numerators) x = -x;
      }
      v.Tight = tester.TightAt(v.Numerators, v.Denominator, v.Approx);
      found(v);
    } while (lrs_getnextbasis(&p, q, FALSE) != 0);
    lrs_clear_mp_vector(output, q->n);
  }
  if (lin != nullptr) lrs_clear_mp_matrix(lin, q->nredundcol, q->n);
  lrs_free_all_memory(p, q);
  return end;
}

}  // namespace ludomark
