// The persons of a qla-loggen history (its persons.tsv), for tests that hold what the program
// finds to the truth the generator wrote.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace qla::testing_support {

struct HistoryPerson {
    std::size_t Id = 0;
    std::string MainName; // as worn in the first log
    std::size_t FirstLog = 0;
    std::vector<double> Skills; // per log
};

inline std::vector<HistoryPerson> ReadHistoryPersons(const std::string& personsTsv) {
    std::vector<HistoryPerson> persons;
    std::ifstream in(personsTsv, std::ios::binary);
    for (std::string row; std::getline(in, row);) {
        std::istringstream cells(row);
        std::string id, name, first, skills;
        std::getline(cells, id, '\t');
        std::getline(cells, name, '\t');
        std::getline(cells, first, '\t');
        std::getline(cells, skills, '\t');
        HistoryPerson person{std::stoul(id), name, std::stoul(first), {}};
        std::istringstream values(skills);
        for (std::string value; std::getline(values, value, ',');)
            person.Skills.push_back(std::stod(value));
        persons.push_back(std::move(person));
    }
    return persons;
}

} // namespace qla::testing_support
