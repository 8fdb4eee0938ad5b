// Figures for the address book index: build time, lookup time and memory for 100,000 contacts.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/phone_book.h"

namespace {

using Clock = std::chrono::steady_clock;

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("VmRSS:")) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

std::string Number(std::mt19937& random) {
    std::string number = "0" + std::to_string(30 + random() % 900) + " ";
    number += std::to_string(1000000 + random() % 9000000);
    return number;
}

}  // namespace

int main() {
    constexpr int kContacts = 100'000;
    std::mt19937 random(7);
    std::vector<std::vector<kw::BookEntry>> books(2);
    std::vector<std::string> callers;
    for (int i = 0; i < kContacts; ++i) {
        std::string number = Number(random);
        if (i % 50 == 0) {
            number += "-0";  // some company lines
        }
        callers.push_back("+49" + number.substr(1));
        books[static_cast<std::size_t>(i % 2)].push_back(
            kw::BookEntry{"Kontakt Nummer " + std::to_string(i), std::move(number)});
    }
    for (int i = 0; i < 1000; ++i) {
        callers.push_back(Number(random));  // mostly unknown callers
    }
    std::shuffle(callers.begin(), callers.end(), random);

    const long before = ResidentKiB();
    const auto buildStart = Clock::now();
    const kw::PhoneBook book(books, kw::NumberHome{"49", "30"});
    const auto built = Clock::now();
    const long after = ResidentKiB();

    std::vector<double> lookups;
    std::size_t found = 0;
    for (const std::string& caller : callers) {
        const auto start = Clock::now();
        found += book.NameFor(caller).has_value() ? 1 : 0;
        lookups.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    std::sort(lookups.begin(), lookups.end());
    std::printf("contacts: %d, distinct numbers: %zu, callers found: %zu of %zu\n", kContacts,
                book.size(), found, callers.size());
    std::printf("build: %.1f ms\n",
                std::chrono::duration<double, std::milli>(built - buildStart).count());
    std::printf("lookup: median %.2f us, 99th percentile %.2f us\n", lookups[lookups.size() / 2],
                lookups[lookups.size() * 99 / 100]);
    std::printf("memory of the index (resident growth): %.1f MiB\n",
                static_cast<double>(after - before) / 1024.0);
    return 0;
}
