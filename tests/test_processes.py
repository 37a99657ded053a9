"""Members across processes: sent to worker processes and back by
multiprocessing (spawn and forkserver), by a process pool and through a Dask
cluster of worker processes, with the links computed in the workers."""

import concurrent.futures
import multiprocessing
import time

import cloudpickle
import pytest

import tessamir
from conftest import CLASSES
from surface import display

# The work done in the workers, which import this module to find it.


def identify(members):
    """The members a worker was sent, and what it sees of them."""
    return members, [(type(m).__name__, display(m), str(m)) for m in members]


def country(exchange):
    return exchange.country()


def walk_down(sector):
    """Every path from a sector down to one of its sub-industries."""
    return [(sector, group, industry, sub) for group in sector.industry_groups()
            for industry in group.industries() for sub in industry.subindustries()]


def walk_up(sub):
    industry = sub.industry()
    group = industry.industry_group()
    return sub, industry, group, group.sector()


def by_country_code(exchanges, countries):
    """The exchanges grouped by the code of their country: members are not
    hashable, their codes are."""
    groups = {}
    for exchange, place in zip(exchanges, countries):
        groups.setdefault(place.code, []).append(exchange)
    return groups


def call_pickled(data):
    """Calls a function that cloudpickle pickled."""
    return cloudpickle.loads(data)()


def job(map_):
    """Sends members to workers with `map_(function, items)` (a list of
    results), and checks what the workers found and sent back."""
    lists = [cls.members() for cls in CLASSES]
    for sent, (back, seen) in zip(lists, map_(identify, lists), strict=True):
        # Members of different classes are never equal: equal lists hold
        # members of the same classes.
        assert back == sent
        assert seen == [(type(m).__name__, display(m), str(m)) for m in sent]
    exchanges = tessamir.Exchange.members()
    assert map_(country, exchanges) == [e.country() for e in exchanges]
    sectors = tessamir.Sector.members()
    assert map_(walk_down, sectors) == [walk_down(s) for s in sectors]
    subs = tessamir.SubIndustry.members()
    assert map_(walk_up, subs) == [walk_up(s) for s in subs]


@pytest.mark.slow
@pytest.mark.parametrize("method", ["spawn", "forkserver"])
def test_multiprocessing_pool(method):
    lists = [cls.members() for cls in CLASSES]
    with multiprocessing.get_context(method).Pool(2) as pool:
        job(pool.map)
        # Functions that cloudpickle sends by value, with the members they
        # hold, and reaching a class through the module.
        assert pool.apply(call_pickled, (cloudpickle.dumps(lambda: lists),)) == lists
        xx = pool.apply(call_pickled, (cloudpickle.dumps(lambda: tessamir.Country("XX")),))
        assert xx == tessamir.Country("XX")


@pytest.mark.slow
def test_process_pool_executor():
    with concurrent.futures.ProcessPoolExecutor(2) as executor:
        job(lambda function, items: list(executor.map(function, items, chunksize=16)))


def test_cloudpickle_round_trips():
    for cls in CLASSES:
        members = cls.members()
        assert cloudpickle.loads(cloudpickle.dumps(members)) == members


def dask_job():
    """Runs a job on a Dask cluster of two worker processes; gives the seconds
    it took."""
    from distributed import Client, LocalCluster

    start = time.monotonic()
    with LocalCluster(n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None) as cluster, \
            Client(cluster) as client:
        job(lambda function, items: client.gather(client.map(function, items)))
        # Tasks fed by other tasks: the exchanges grouped by their countries,
        # which other tasks found.
        exchanges = tessamir.Exchange.members()
        countries = client.map(country, exchanges)
        groups = client.submit(by_country_code, exchanges, countries).result()
        assert groups == by_country_code(exchanges, [e.country() for e in exchanges])
        # A function that Dask pickles by value.
        assert client.submit(lambda code: tessamir.Country(code), "XX").result() == tessamir.Country("XX")
    return time.monotonic() - start


@pytest.mark.slow
def test_dask_cluster_of_worker_processes():
    # The client runs in a process of its own: it leaves a thread behind that
    # wakes every second, which would disturb the reference counts that
    # other tests measure in this process.
    with concurrent.futures.ProcessPoolExecutor(1, mp_context=multiprocessing.get_context("spawn")) as runner:
        seconds = runner.submit(dask_job).result(timeout=300)
    print(f"Dask job: {seconds:.1f} s")
